// The addresses programs use (files, "res://" built-in pages) and the URLs the browser loads them from.
#pragma once

#include <QString>
#include <QUrl>

namespace tvsk::web
{

// Pages are served from this scheme so a page and its frames share one origin:
// "tvsk://file/<absolute path>" for files, "tvsk://res/<name>" for built-in pages.
inline constexpr char kPageScheme[] = "tvsk";

// A file path, "file://" URL or "res://<module>/<name>" becomes the URL to load; others stay.
QUrl ServedUrl(const QString& address);
// The address reported to the program for a loaded URL ("file://..." or "res://<program>/<name>").
QString ProgramUrl(const QUrl& served);

} // namespace tvsk::web
