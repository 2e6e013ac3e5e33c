// A push button that shows a picture, with magenta (0xFF00FF) as its transparent colour.
#pragma once

#include <ui/Controls.h>

class QImage;

class CIconButton : public CButton
{
public:
    static constexpr COLORREF kTransparent = 0xFF00FF;

    // Shows the picture on the button; false without a window.
    bool SetImage(const QImage& image);
};
