// Runs a script in a pager's live page and waits for what it answers.
#pragma once

#include <TvskPager/ui/PagerDlg.h>

#include <testing/WaitUntil.h>
#include <web/engine/WebBrowser.h>

#include <QWebEngineView>

#include <optional>
#include <string>

inline std::string RunPageScript(CPagerDlg& dialog, const QString& script)
{
    std::optional<QString> answer;
    dialog.Page().Browser()->View()->page()->runJavaScript(script, [&](const QVariant& value)
                                                           { answer = value.toString(); });
    WaitUntil([&] { return answer.has_value(); });
    return answer ? answer->toStdString() : "<no answer>";
}
