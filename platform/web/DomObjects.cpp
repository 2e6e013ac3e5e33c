#include "DomObjects.h"

namespace tvsk::web
{

namespace
{

class DocumentObject final : public tvsk::com::DispatchObject<DocumentObject, IDomDocument>
{
public:
    explicit DocumentObject(std::unique_ptr<DomDocument> document) : m_document(std::move(document)) {}

    static const tvsk::com::DispatchTable<DocumentObject>& Dispatch()
    {
        static const tvsk::com::DispatchTable<DocumentObject> table{
            tvsk::com::InterfaceDescription(IDomDocument::Iid, "IDomDocument")};
        return table;
    }

    DomDocument* Document() override { return m_document.get(); }

private:
    std::unique_ptr<DomDocument> m_document;
};

class ElementObject final : public tvsk::com::DispatchObject<ElementObject, IDomElement>
{
public:
    ElementObject(IDomDocument* owner, DomElement& element) : m_owner(owner), m_element(element) {}

    static const tvsk::com::DispatchTable<ElementObject>& Dispatch()
    {
        static const tvsk::com::DispatchTable<ElementObject> table{
            tvsk::com::InterfaceDescription(IDomElement::Iid, "IDomElement")};
        return table;
    }

    DomElement* Element() override { return &m_element; }

private:
    ComPtr<IDomDocument> m_owner;
    DomElement& m_element;
};

} // namespace

ComPtr<IDomDocument> NewDocumentObject(std::unique_ptr<DomDocument> document)
{
    return ComPtr<IDomDocument>(new DocumentObject(std::move(document)));
}

ComPtr<IDomElement> NewElementObject(IDomDocument* owner, DomElement& element)
{
    return ComPtr<IDomElement>(new ElementObject(owner, element));
}

} // namespace tvsk::web
