#include "KernelHelper.h"

using namespace kerneltest;

class NamedObjectTest : public NamespaceTest
{
};

TEST_F(NamedObjectTest, TheLastCloseRemovesTheName)
{
    HANDLE event = CreateEvent(nullptr, TRUE, TRUE, "Counted");
    HANDLE mutex = CreateMutex(nullptr, FALSE, "CountedMutex");
    HANDLE again = OpenEvent(EVENT_ALL_ACCESS, FALSE, "Counted");
    EXPECT_EQ(LeftObjects().size(), 2u);
    CloseHandle(event);
    EXPECT_EQ(WaitForSingleObject(again, 0), WAIT_OBJECT_0); // still alive through the second handle
    CloseHandle(again);
    CloseHandle(mutex);
    EXPECT_TRUE(LeftObjects().empty());
    HANDLE fresh = CreateEvent(nullptr, TRUE, FALSE, "Counted");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(fresh, 0), WAIT_TIMEOUT);
    CloseHandle(fresh);
}

TEST_F(NamedObjectTest, ObjectsLeftByAKilledProcessAreReclaimed)
{
    HANDLE ready = CreateEvent(nullptr, FALSE, FALSE, "LeftReady");
    PROCESS_INFORMATION owner = StartHelper("leave-objects Left LeftReady");
    ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
    kill(static_cast<pid_t>(owner.dwProcessId), SIGKILL);
    ASSERT_EQ(WaitForSingleObject(owner.hProcess, 5000), WAIT_OBJECT_0);
    CloseHandle(owner.hProcess);
    EXPECT_EQ(LeftObjects().size(), 2u); // nobody removed "Left"

    EXPECT_EQ(OpenEvent(EVENT_ALL_ACCESS, FALSE, "Left"), nullptr);
    EXPECT_EQ(LeftObjects().size(), 1u);
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, "Left");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
    CloseHandle(ready);
    EXPECT_TRUE(LeftObjects().empty());
}

TEST_F(NamedObjectTest, TwoProcessesShareAMapping)
{
    HANDLE mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1040, "Block");
    ASSERT_NE(mapping, nullptr);
    HANDLE written = CreateEvent(nullptr, FALSE, FALSE, "BlockWritten");
    auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view[1039], 0);
    PROCESS_INFORMATION writer = StartHelper("write-mapping Block hello BlockWritten");
    ASSERT_EQ(WaitForSingleObject(written, 5000), WAIT_OBJECT_0);
    EXPECT_STREQ(view, "hello");
    EXPECT_EQ(ExitCodeAfterEnd(writer.hProcess), 0u);
    CloseHandle(writer.hProcess);

    CloseHandle(mapping);
    EXPECT_STREQ(view, "hello"); // the view keeps the mapping
    EXPECT_EQ(LeftObjects().size(), 2u);
    EXPECT_TRUE(UnmapViewOfFile(view));
    CloseHandle(written);
    EXPECT_TRUE(LeftObjects().empty());
}

TEST_F(NamedObjectTest, AnExistingMappingKeepsItsSizeAndViewsStayInside)
{
    HANDLE mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, "Sized");
    HANDLE again = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "Sized");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(MapViewOfFile(again, FILE_MAP_ALL_ACCESS, 0, 0, 65), nullptr);
    void* view = MapViewOfFile(again, FILE_MAP_ALL_ACCESS, 0, 0, 64);
    EXPECT_NE(view, nullptr);
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_FALSE(UnmapViewOfFile(view));
    EXPECT_EQ(CreateFileMapping(reinterpret_cast<HANDLE>(3), nullptr, PAGE_READWRITE, 0, 64, "File"),
              nullptr);
    CloseHandle(again);
    CloseHandle(mapping);
    EXPECT_TRUE(LeftObjects().empty());
}
