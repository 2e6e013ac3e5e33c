// The data a drag (or the clipboard) offers: bytes cached per format, handed to the toolkit as MIME data.
#pragma once

#include "DragDrop.h"

#include <map>
#include <vector>

class QMimeData;

class COleDataSource
{
public:
    COleDataSource() = default;
    virtual ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers the bytes under the format, replacing what it offered before.
    void CacheData(CLIPFORMAT format, const void* data, size_t size);
    void Empty() { m_formats.clear(); }
    BOOL IsDataCached(CLIPFORMAT format) const { return m_formats.count(format) ? TRUE : FALSE; }
    // New MIME data with every cached format under its MIME type; the caller owns it.
    QMimeData* CreateMimeData() const;

    // Runs the drag until the button is released; answers the effect the drop took (none when
    // nothing was dropped or no window can be the drag's source).
    virtual DROPEFFECT DoDragDrop(DROPEFFECT allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE,
                                  const RECT* startRect = nullptr);

private:
    std::map<CLIPFORMAT, std::vector<char>> m_formats;
};
