// Port objects created through the component model from a store the test registers them into.
#pragma once

#include "PortKindTestSupport.h"

#include <port/Lanyard.h>

#include <cstdlib>

namespace porttest
{

// A value under HKEY_CLASSES_ROOT, "<none>" when missing (a null value name: the key's default).
std::string ClassesRootValue(const char* key, const char* value);

class LanyardTest : public FakeServerTest
{
protected:
    void SetUp() override
    {
        FakeServerTest::SetUp();
        store = std::filesystem::temp_directory_path() / (space + ".registry");
        setenv("TARVESKON_REGISTRY", store.c_str(), 1);
        ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + LANYARD_COMPONENT).c_str()), 0);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        CoUninitialize();
        std::filesystem::remove(store);
        std::filesystem::remove(store.string() + ".lock");
        FakeServerTest::TearDown();
    }

    template <class I> static ComPtr<I> Create(const char16_t* progId)
    {
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        ComPtr<I> object;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, I::Iid,
                                   reinterpret_cast<void**>(object.Receive())),
                  S_OK);
        return object;
    }
    template <class I> static HRESULT Open(const ComPtr<I>& port, const char* text)
    {
        BSTR open = text ? tvsk::com::BstrFromUtf8(text) : nullptr; // null counts as empty
        const HRESULT hr = port->Open(open);
        SysFreeString(open);
        return hr;
    }
    template <class I> static LONG ErrorCode(const ComPtr<I>& port)
    {
        LONG code = -1;
        EXPECT_EQ(port->get_ErrorCode(&code), S_OK);
        return code;
    }

    std::filesystem::path store;
};

} // namespace porttest
