#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstring>
#include <memory>
#include <vector>

namespace
{

TextTranslator& Translator()
{
    static TextTranslator translator;
    return translator;
}

std::vector<std::unique_ptr<QTranslator>>& ToolkitTranslators()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

} // namespace

void AfxSetTextTranslator(TextTranslator translator)
{
    Translator() = std::move(translator);
}

CString AfxTranslatedText(const char* text)
{
    if (!text || !Translator())
        return CString(text ? text : "");
    const size_t length = std::strlen(text);
    size_t first = 0;
    while (first < length && text[first] == ' ')
        ++first;
    size_t end = length;
    while (end > first && text[end - 1] == ' ')
        --end;
    if (first == end)
        return CString(text);
    CString translated;
    if (!Translator()(std::string(text + first, end - first).c_str(), translated))
        return CString(text);
    return CString(std::string(text, first).c_str()) + translated + CString(text + end);
}

bool AfxSetToolkitLanguage(const char* code)
{
    for (const std::unique_ptr<QTranslator>& translator : ToolkitTranslators())
        QCoreApplication::removeTranslator(translator.get());
    ToolkitTranslators().clear();
    if (!code || std::strcmp(code, "en") == 0)
        return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool loaded = false;
    for (const char* catalogue : {"qtbase_", "qtwebengine_"})
    {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QString::fromLatin1(catalogue) + QString::fromLatin1(code), folder))
            continue;
        QCoreApplication::installTranslator(translator.get());
        ToolkitTranslators().push_back(std::move(translator));
        loaded = true;
    }
    return loaded;
}
