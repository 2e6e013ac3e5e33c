// Objects the language itself provides (RegExp and its matches, function references): IDispatch
// over a table of member names, with the language's errors.
#pragma once

#include "Value.h"

#include <com/ComObject.h>

#include <span>
#include <string_view>

namespace tvsk::script
{

class NativeObject : public com::ComObject<IDispatch>
{
public:
    struct Member
    {
        const char16_t* name; // lower case
        DISPID id;
    };

    // The object when it is one of these, else null.
    static NativeObject* From(IDispatch* object);
    virtual std::u16string_view TypeName() const = 0;

    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override;

protected:
    virtual std::span<const Member> Members() const = 0;
    virtual bool Knows(DISPID id) const;
    // A member called with its arguments in order; for a put, value is what is put. Throws the
    // language's errors; DISP_E_MEMBERNOTFOUND is thrown as 438.
    virtual Value Call(DISPID id, WORD flags, Value* args, size_t count, Value* value) = 0;
};

// Arguments a member needs exactly: Wrong number of arguments otherwise.
void NeedArguments(size_t count, size_t needed);

} // namespace tvsk::script
