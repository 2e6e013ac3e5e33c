// Toolbar layouts and pictures that modules draw in code, registered as resources.
#include "ToolBar.h"

#include "Resources.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <deque>
#include <mutex>
#include <vector>

namespace
{
// What a registration keeps alive for the rest of the process.
struct ToolBarData
{
    std::vector<UINT> ids;
    ToolBarTemplate layout{};
    QByteArray bitmap;
};

std::mutex g_lock;
std::deque<ToolBarData> g_toolbars; // elements never move
} // namespace

BOOL AfxRegisterToolBar(UINT id, int imageWidth, int imageHeight, const UINT* ids, int count,
                        const QImage& images, HINSTANCE module)
{
    if (!ids || count <= 0 || images.isNull())
        return FALSE;
    std::lock_guard guard(g_lock);
    ToolBarData& data = g_toolbars.emplace_back();
    data.ids.assign(ids, ids + count);
    data.layout = {imageWidth, imageHeight, data.ids.data(), count};
    QBuffer buffer(&data.bitmap);
    buffer.open(QIODevice::WriteOnly);
    images.save(&buffer, "BMP");
    const BOOL layout = AfxRegisterResource(id, "TOOLBAR", &data.layout, sizeof(data.layout), module);
    const BOOL bitmap = AfxRegisterResource(id, RT_BITMAP, data.bitmap.constData(),
                                            static_cast<size_t>(data.bitmap.size()), module);
    return layout && bitmap ? TRUE : FALSE;
}
