// What a program asks of its help window; the window layer implements it (CZoHelpWnd).
#pragma once

#include <framework/WinTypes.h>

class CWnd;

class CZoHelpIntf
{
public:
    virtual ~CZoHelpIntf() = default;

    virtual BOOL isInitialized() const = 0;
    virtual void setInitialized(BOOL initialized) = 0;
    // Takes the help file and marks the window initialized. The file given is read when first
    // needed after each Initialize or SetHelpFile.
    virtual BOOL Initialize(CWnd* owner, const char* file) = 0;
    virtual BOOL SetHelpFile(const char* file) = 0;
    // Each shows its page and answers TRUE, or FALSE when the file cannot be read or names no
    // such topic. An empty topic is the file's first.
    virtual BOOL Topic(const char* topic) = 0;
    // The keywords holding the text, as links to their topics.
    virtual BOOL Index(const char* text) = 0;
    // The topics holding every word of the text, as links.
    virtual BOOL Search(const char* text) = 0;
    // The topic of the context id.
    virtual BOOL Context(long contextId) = 0;
};
