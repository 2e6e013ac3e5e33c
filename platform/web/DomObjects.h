// Page documents and elements as component objects, so they travel through IDispatch like a browser's.
#pragma once

#include "DomDocument.h"

#include <com/Com.h>

#include <memory>

// Answered by the object that holds a page document (and, below it, its frames).
struct IDomDocument : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("B3B465A8-7F9A-479F-BA82-95588404A21A");
    virtual tvsk::web::DomDocument* Document() = 0;

protected:
    ~IDomDocument() = default;
};

// Answered by the object of one element; it keeps its document alive.
struct IDomElement : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("FE10DC52-0EDD-4115-965F-688DDC77D5D3");
    virtual tvsk::web::DomElement* Element() = 0;

protected:
    ~IDomElement() = default;
};

namespace tvsk::web
{

// The object owns the document.
ComPtr<IDomDocument> NewDocumentObject(std::unique_ptr<DomDocument> document);
// owner: the object of the document tree that holds the element.
ComPtr<IDomElement> NewElementObject(IDomDocument* owner, DomElement& element);

} // namespace tvsk::web
