#include "PageCurtain.h"

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace tvsk::web
{

namespace
{

const QString kScriptName = QStringLiteral("tvskPageCurtain");

} // namespace

void HoldPagesUntilFilled(QWebEnginePage& page)
{
    if (!page.scripts().find(kScriptName).isEmpty())
        return;
    // A constructed style sheet needs no element, so it is in place before the document has any;
    // its animation shows the page by itself should nobody else.
    QWebEngineScript curtain;
    curtain.setName(kScriptName);
    curtain.setInjectionPoint(QWebEngineScript::DocumentCreation);
    curtain.setWorldId(QWebEngineScript::ApplicationWorld);
    curtain.setSourceCode(QStringLiteral("(function () {"
                                         "var sheet = new CSSStyleSheet();"
                                         "sheet.replaceSync('html { visibility: hidden;"
                                         " animation: tvskCurtain 0s %1ms forwards; }"
                                         " @keyframes tvskCurtain { to { visibility: visible; } }');"
                                         "document.adoptedStyleSheets = [sheet];"
                                         "window.tvskCurtain = sheet;"
                                         "})();")
                              .arg(kLongestHoldMs));
    page.scripts().insert(curtain);
}

void ShowFilledPage(QWebEnginePage& page)
{
    // Queued behind the window's own scripts that filled the page, so it opens on their result.
    page.runJavaScript(QStringLiteral("if (window.tvskCurtain) {"
                                      "document.adoptedStyleSheets = document.adoptedStyleSheets"
                                      ".filter(function (s) { return s !== window.tvskCurtain; });"
                                      "window.tvskCurtain = null; }"),
                       QWebEngineScript::ApplicationWorld);
}

} // namespace tvsk::web
