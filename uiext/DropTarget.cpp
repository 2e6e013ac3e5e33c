// Drop effects from the offered formats and the key state.
#include "DropTarget.h"

CDropTargetImpl::CDropTargetImpl(CWnd* wnd, CDropTargetIntf* callbacks) : m_pWnd(wnd), m_pIntf(callbacks)
{
    Register(wnd);
}

CDropTargetImpl::~CDropTargetImpl()
{
    Revoke();
}

CLIPFORMAT CDropTargetImpl::AddFormat(const char* formatName)
{
    const CLIPFORMAT format = RegisterClipboardFormat(formatName);
    if (format != 0)
        m_formats.Add(format);
    return format;
}

CLIPFORMAT CDropTargetImpl::AddFormat(CLIPFORMAT format)
{
    m_formats.Add(format);
    return format;
}

DROPEFFECT CDropTargetImpl::EffectFor(COleDataObject* data, DWORD keyState) const
{
    if (!data)
        return DROPEFFECT_NONE;
    for (INT_PTR i = 0; i < m_formats.GetSize(); ++i)
        if (data->IsDataAvailable(m_formats[i]))
            // Copy only with Control alone: Control with a mouse button held is a move.
            return keyState == MK_CONTROL ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    return DROPEFFECT_NONE;
}

DROPEFFECT CDropTargetImpl::OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
{
    const DROPEFFECT effect = EffectFor(data, keyState);
    if (m_pIntf)
        m_pIntf->ShowIndicator(effect, point);
    return effect;
}

DROPEFFECT CDropTargetImpl::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    return OnDragEnter(wnd, data, keyState, point);
}

void CDropTargetImpl::OnDragLeave(CWnd*)
{
    if (m_pIntf)
        m_pIntf->HideIndicator();
}

BOOL CDropTargetImpl::OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point)
{
    return m_pIntf ? m_pIntf->OnDrop(data, effect, point) : FALSE;
}

DROPEFFECT CDropTargetImpl::OnDragScroll(CWnd*, DWORD, CPoint point)
{
    if (m_pIntf)
        m_pIntf->ShowIndicator(DROPEFFECT_NONE, point);
    return DROPEFFECT_NONE;
}
