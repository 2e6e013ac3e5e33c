// The page that lists the help window's index and search results.
#pragma once

#include "ZoHelpFile.h"

// A whole HTML page: the heading, then one link a line to each page (an absolute path, which a
// page served from a file of the same machine reaches), or the note when there are no links.
CString MakeHelpListPage(const char* heading, const std::vector<ZoHelpLink>& links, const char* emptyNote);

// Text with "&", "<", ">" and quotes as entities.
CString EscapeHtml(const char* text);
// A path as a URL path: bytes other than letters, digits, "/", "-", ".", "_" and "~" as "%XX".
CString EscapeUrlPath(const char* path);
