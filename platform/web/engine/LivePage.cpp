#include "LivePage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace tvsk::web
{

namespace
{

QString ScriptText(const QString& resource)
{
    QFile file(resource);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::string Text(const QJsonValue& value)
{
    return value.toString().toStdString();
}

struct EventName
{
    const char* name;
    DomEventType type;
};

constexpr EventName kEventNames[] = {
    {"focus", DomEventType::Focus},         {"blur", DomEventType::Blur},
    {"click", DomEventType::Click},         {"dblclick", DomEventType::DoubleClick},
    {"mousedown", DomEventType::MouseDown}, {"mouseup", DomEventType::MouseUp},
    {"mouseover", DomEventType::MouseOver}, {"mouseout", DomEventType::MouseOut},
    {"keydown", DomEventType::KeyDown},     {"keypress", DomEventType::KeyPress},
    {"keyup", DomEventType::KeyUp},         {"change", DomEventType::Change},
    {"select", DomEventType::Select},       {"help", DomEventType::Help},
};

// The page unchecks the other radio buttons of a group when one is checked; so does the mirror.
void UncheckOtherRadios(DomElement& radio)
{
    DomDocument& document = radio.Document();
    for (size_t i = 0; i < document.ElementCount(); ++i)
    {
        DomElement* other = document.ElementAt(i);
        if (other != &radio && other->TagName() == "INPUT" && other->InputType() == "radio" &&
            other->Name() == radio.Name())
            other->LoadChecked(false);
    }
}

void LoadState(DomElement& element, const QJsonObject& state)
{
    if (state.contains("width"))
        element.LoadSize(state.value("width").toInt(), state.value("height").toInt());
    if (state.contains("value"))
    {
        if (element.TagName() == "SELECT")
            element.LoadSelectedValue(Text(state.value("value")));
        else
            element.LoadValue(Text(state.value("value")));
    }
    if (state.contains("checked"))
    {
        element.LoadChecked(state.value("checked").toBool());
        if (element.Checked() && element.TagName() == "INPUT" && element.InputType() == "radio")
            UncheckOtherRadios(element);
    }
}

} // namespace

LivePage::LivePage(QWebEnginePage& page, int viewId) : QObject(&page), m_page(page)
{
    auto* channel = new QWebChannel(this);
    channel->registerObject("tvskBridge", this);
    m_page.setWebChannel(channel, QWebEngineScript::MainWorld);
    InstallScripts(viewId);
}

LivePage::~LivePage()
{
    Forget();
}

void LivePage::InstallScripts(int viewId)
{
    QWebEngineScript external;
    external.setName("tvsk-external");
    external.setInjectionPoint(QWebEngineScript::DocumentCreation);
    external.setWorldId(QWebEngineScript::MainWorld);
    external.setRunsOnSubFrames(true);
    external.setSourceCode(
        ScriptText(":/tvsk-web/external.js").replace("TVSK_VIEW_ID", QString::number(viewId)));
    m_page.scripts().insert(external);

    QWebEngineScript bridge;
    bridge.setName("tvsk-bridge");
    bridge.setInjectionPoint(QWebEngineScript::DocumentReady);
    bridge.setWorldId(QWebEngineScript::MainWorld);
    bridge.setRunsOnSubFrames(false);
    bridge.setSourceCode(ScriptText(":/qtwebchannel/qwebchannel.js") + '\n' +
                         ScriptText(":/tvsk-web/bridge.js"));
    m_page.scripts().insert(bridge);
}

void LivePage::Forget()
{
    ++m_generation;
    m_pending.clear();
    for (DomDocument* document : m_documents)
        document->SetWriteObserver(nullptr);
    m_documents.clear();
    m_documentIds.clear();
    m_document.Reset();
}

std::unique_ptr<DomDocument> LivePage::BuildDocument(const QJsonObject& description)
{
    auto document = std::make_unique<DomDocument>(Text(description.value("url")));
    m_documentIds[document.get()] = static_cast<int>(m_documents.size());
    m_documents.push_back(document.get());
    document->SetWriteObserver(this);
    for (const QJsonValue& value : description.value("elements").toArray())
    {
        const QJsonObject item = value.toObject();
        const int parent = item.value("parent").toInt(-1);
        DomElement& element =
            document->AddElement(document->ElementAt(static_cast<size_t>(parent)), Text(item.value("tag")));
        for (const QJsonValue& pair : item.value("attributes").toArray())
            element.LoadAttribute(Text(pair.toArray().at(0)), Text(pair.toArray().at(1)));
        element.LoadContent(Text(item.value("html")), Text(item.value("text")));
        element.LoadValue(Text(item.value("value")));
        element.LoadChecked(item.value("checked").toBool());
        element.LoadDisabled(item.value("disabled").toBool());
        element.LoadSize(item.value("width").toInt(), item.value("height").toInt());
        std::vector<DomOption> options;
        for (const QJsonValue& option : item.value("options").toArray())
            options.push_back({Text(option.toObject().value("text")), Text(option.toObject().value("value")),
                               option.toObject().value("selected").toBool()});
        element.LoadOptions(std::move(options));
    }
    for (const QJsonValue& frame : description.value("frames").toArray())
        document->AddFrame(BuildDocument(frame.toObject()));
    return document;
}

void LivePage::snapshot(const QString& json)
{
    Forget();
    m_document = NewDocumentObject(BuildDocument(QJsonDocument::fromJson(json.toUtf8()).object()));
    emit documentReady();
}

void LivePage::event(const QString& json)
{
    const QJsonObject message = QJsonDocument::fromJson(json.toUtf8()).object();
    const std::string type = Text(message.value("type"));
    for (const EventName& known : kEventNames)
        if (type == known.name)
        {
            // The host hears the event from a posted call, outside the engine's callback: a handler may
            // run a modal loop (a plug-in's window, a dialog, a box), and a loop started inside the
            // callback keeps every page, the new window's own, from loading. The element's state is
            // taken then too, so nothing the program writes meanwhile undoes what the user did.
            m_pending.push_back({m_generation, message,
                                 DomEvent{known.type, nullptr, message.value("keyCode").toInt(),
                                          message.value("x").toInt(), message.value("y").toInt()}});
            QMetaObject::invokeMethod(
                this, [this] { DispatchPending(); }, Qt::QueuedConnection);
            return;
        }
}

// One event of the page at a time: those that come while a handler runs a loop of its own wait for
// its end, as clicks on a window under a modal one would.
void LivePage::DispatchPending()
{
    if (m_dispatching)
        return;
    const QPointer<LivePage> alive(this);
    m_dispatching = true;
    while (!m_pending.empty())
    {
        PendingEvent next = std::move(m_pending.front());
        m_pending.pop_front();
        Dispatch(next);
        if (!alive)
            return;
    }
    m_dispatching = false;
}

void LivePage::Dispatch(PendingEvent& pending)
{
    const size_t id = static_cast<size_t>(pending.message.value("document").toInt(-1));
    // A page loaded since the event came: its elements are gone.
    if (pending.generation != m_generation || id >= m_documents.size())
        return;
    // The host may drop the page while it handles the event; the mirror stays until the event is done.
    const ComPtr<IDomDocument> keep = m_document;
    DomDocument& document = *m_documents[id];
    DomEvent& event = pending.event;
    event.target = document.ElementAt(static_cast<size_t>(pending.message.value("element").toInt(-1)));
    if (event.target)
        LoadState(*event.target, pending.message.value("state").toObject());
    const QPointer<LivePage> alive(this);
    document.DispatchEvent(event);
    if (alive && event.type == DomEventType::Help)
        emit helpKey(QPoint(event.clientX, event.clientY));
}

void LivePage::OnElementWritten(const DomElement& element, DomProperty property, std::string_view attribute)
{
    const auto id = m_documentIds.find(&element.Document());
    if (id == m_documentIds.end())
        return;
    QString name;
    QJsonValue value;
    const char* what = "";
    switch (property)
    {
    case DomProperty::Value:
        what = "value";
        value = QString::fromStdString(element.Value());
        break;
    case DomProperty::Checked:
        what = "checked";
        value = element.Checked();
        break;
    case DomProperty::Disabled:
        what = "disabled";
        value = element.Disabled();
        break;
    case DomProperty::InnerHtml:
        what = "html";
        value = QString::fromStdString(element.InnerHtml());
        break;
    case DomProperty::InnerText:
        what = "text";
        value = QString::fromStdString(element.InnerText());
        break;
    case DomProperty::Attribute:
        what = "attribute";
        name = QString::fromUtf8(attribute.data(), static_cast<qsizetype>(attribute.size()));
        value = QString::fromStdString(element.Attribute(attribute));
        break;
    case DomProperty::Style:
        what = "style";
        name = QString::fromUtf8(attribute.data(), static_cast<qsizetype>(attribute.size()));
        value = QString::fromStdString(
            element.Style(attribute == "color" ? StyleProperty::Color : StyleProperty::BackgroundColor));
        break;
    case DomProperty::Options:
    {
        what = "options";
        QJsonArray options;
        for (const DomOption& option : element.Options())
            options.append(QJsonObject{{"text", QString::fromStdString(option.text)},
                                       {"value", QString::fromStdString(option.value)},
                                       {"selected", option.selected}});
        value = options;
        break;
    }
    }
    const QJsonArray call{id->second, element.Index(), what, name, value};
    const QString arguments = QString::fromUtf8(QJsonDocument(call).toJson(QJsonDocument::Compact));
    m_page.runJavaScript("window.tvskBridge && window.tvskBridge.apply.apply(null, " + arguments + ");",
                         QWebEngineScript::MainWorld);
}

} // namespace tvsk::web
