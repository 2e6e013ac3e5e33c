// Drag and drop over QMimeData: registered format names become MIME types.
#pragma once

#include "UiDefs.h"

#include <framework/Array.h>
#include <framework/CString.h>

#include <QObject>
#include <QPointer>

class QMimeData;

using CLIPFORMAT = WORD;
using DROPEFFECT = DWORD;
constexpr CLIPFORMAT CF_TEXT = 1;
constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;
constexpr DROPEFFECT DROPEFFECT_LINK = 4;

// The same name always gives the same number (from 0xC000 up); 0 for an empty name.
CLIPFORMAT RegisterClipboardFormat(const char* name);
// The MIME type that carries a format ("text/plain" for CF_TEXT); empty for an unknown one.
CString ClipboardFormatMimeType(CLIPFORMAT format);

// The data offered by a drag (or the clipboard).
class COleDataObject
{
public:
    COleDataObject() = default;
    explicit COleDataObject(const QMimeData* data) : m_data(data) {}
    void Attach(const QMimeData* data) { m_data = data; }
    BOOL IsDataAvailable(CLIPFORMAT format) const;
    // The bytes of a format; FALSE when it is not offered.
    BOOL GetData(CLIPFORMAT format, CByteArray& bytes) const;

private:
    const QMimeData* m_data = nullptr;
};

// A window's drop target: the toolkit's drag events arrive at these virtual operations.
class COleDropTarget
{
public:
    COleDropTarget();
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    BOOL Register(CWnd* wnd);
    void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* wnd);
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point);
    // Asked before each drag-over; an effect other than none is taken instead of OnDragOver's.
    virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point);

private:
    CWnd* m_wnd = nullptr;
    QPointer<QObject> m_filter; // owned by the window's widget
};
