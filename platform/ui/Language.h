// The program's chosen language for what the window layer shows itself: the texts of dialog
// templates and the toolkit's own dialogs and buttons.
#pragma once

#include "Ui.h"

#include <functional>

// Says a text a module was written with in the chosen language; false when it has no other text.
using TextTranslator = std::function<bool(const char* text, CString& translated)>;

// Installs the translator that dialogs made from templates (title and control texts) and modules
// showing texts of their own ask from now on (empty: none).
void AfxSetTextTranslator(TextTranslator translator);
// The text in the chosen language: the translator's answer for the text without its surrounding
// blanks, which stay; the text itself when none is installed or it has none.
CString AfxTranslatedText(const char* text);

// Loads the toolkit's translations for the language ("it", "en"; English needs none) in place of
// those loaded before; false when they are not installed.
bool AfxSetToolkitLanguage(const char* code);
