// The page loaded in the browser, mirrored into a page document: reads are answered from the mirror,
// writes go to both, and the page's element events arrive with the element's new state.
#pragma once

#include <web/DomObjects.h>

#include <QJsonObject>
#include <QObject>
#include <QPoint>

#include <deque>
#include <map>
#include <vector>

class QWebEnginePage;

namespace tvsk::web
{

class LivePage final : public QObject, public DomWriteObserver
{
    Q_OBJECT

public:
    // Injects the bridge into every page that this browser page loads.
    LivePage(QWebEnginePage& page, int viewId);
    ~LivePage() override;

    // The mirrored document; null until the page's snapshot has come.
    IDomDocument* DocumentObject() const noexcept { return m_document.Get(); }
    // A new page is loading: the mirror no longer follows the page.
    void Forget();

    void OnElementWritten(const DomElement& element, DomProperty property,
                          std::string_view attribute) override;

    // Called by the bridge in the page.
    Q_INVOKABLE void snapshot(const QString& json);
    Q_INVOKABLE void event(const QString& json);

signals:
    void documentReady();
    // The help key in the page, after the document heard it; the point in the page's coordinates.
    void helpKey(QPoint point);

private:
    std::unique_ptr<DomDocument> BuildDocument(const QJsonObject& description);
    struct PendingEvent
    {
        unsigned generation;
        QJsonObject message;
        DomEvent event;
    };
    void DispatchPending();
    void Dispatch(PendingEvent& pending);
    void InstallScripts(int viewId);

    QWebEnginePage& m_page;
    ComPtr<IDomDocument> m_document;
    // Documents in the bridge's numbering: the top first, then each frame before its own frames.
    std::vector<DomDocument*> m_documents;
    std::map<const DomDocument*, int> m_documentIds;
    // Counts the pages mirrored, so an event posted for one page never reaches the next.
    unsigned m_generation = 0;
    std::deque<PendingEvent> m_pending;
    bool m_dispatching = false;
};

} // namespace tvsk::web
