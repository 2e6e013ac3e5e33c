#include "GraphManager.h"

#include <registry/Profile.h>

#include <algorithm>

namespace
{
const char* const Section = "Settings";

struct ColorSetting
{
    GraphColor role;
    const char* key;
    COLORREF color;
};

// The window background's own default is the desktop's window colour, which the view gives
// (UseWindowColor); white stands for it until then.
const ColorSetting ColorSettings[] = {{BkgndColor, "BkgndColor", RGB(255, 255, 255)},
                                      {BkgndGrid, "BkgndGrid", 0xFFFFFF},
                                      {ObjColor, "ObjColor", 0xC0C0C0},
                                      {SelectionColor, "SelectionColor", 0x808080},
                                      {GridColor, "GridColor", 0x000000},
                                      {TextColor, "TextColor", 0xFF0000},
                                      {SelTextColor, "SelTextColor", 0xFFFFFF},
                                      {ErrorColor, "ErrorColor", 0x0000FF},
                                      {CommentColor, "CommentColor", 0x008000},
                                      {ConnectColor, "ConnectColor", 0x505050},
                                      {SelConnectColor, "SelConnectColor", 0xFF0000},
                                      {TriggerColor, "TriggerColor", 0x00C800},
                                      {ActiveColor, "ActiveColor", 0x00C400}};
} // namespace

void CGraphManager::LoadSettings()
{
    const CProfile& profile = CProfile::Instance();
    m_bGrid = profile.GetProfileInt(Section, "GridView", 1) != 0;
    m_strFontName = profile.GetProfileString(Section, "FontName", "Arial");
    m_nFontSize = static_cast<int>(profile.GetProfileInt(Section, "FontDim", DefaultFontSize));
    if (m_nFontSize <= 0)
        m_nFontSize = DefaultFontSize;
    for (const ColorSetting& setting : ColorSettings)
        m_Colors[setting.role] = static_cast<COLORREF>(
            profile.GetProfileInt(Section, setting.key, static_cast<int>(setting.color)));
}

void CGraphManager::UseWindowColor(COLORREF windowColor)
{
    if (!IsBackgroundStored())
        FollowWindowColor(windowColor);
}

void CGraphManager::FollowWindowColor(COLORREF windowColor)
{
    m_Colors[BkgndColor] = windowColor;
    m_DesktopWindowColor = windowColor;
}

void CGraphManager::SaveSettings() const
{
    CProfile& profile = CProfile::Instance();
    profile.WriteProfileInt(Section, "GridView", m_bGrid ? 1 : 0);
    profile.WriteProfileString(Section, "FontName", m_strFontName);
    profile.WriteProfileInt(Section, "FontDim", m_nFontSize);
    const bool followsDesktop = m_DesktopWindowColor && *m_DesktopWindowColor == m_Colors[BkgndColor];
    for (const ColorSetting& setting : ColorSettings)
        if (setting.role != BkgndColor || !followsDesktop || IsBackgroundStored())
            profile.WriteProfileInt(Section, setting.key, static_cast<int>(m_Colors[setting.role]));
}

bool CGraphManager::IsBackgroundStored()
{
    constexpr int Absent = -1; // no COLORREF has bits above the 24 of its colour
    return static_cast<int>(CProfile::Instance().GetProfileInt(Section, "BkgndColor", Absent)) != Absent;
}

void CGraphManager::SetTextMetrics(std::unique_ptr<CGraphTextMetrics> metrics)
{
    if (!metrics)
        return;
    m_pMetrics = std::move(metrics);
    SetFont(m_nFontSize, m_strFontName);
}

void CGraphManager::SetFont(int size, const char* face)
{
    m_nFontSize = size > 0 ? size : DefaultFontSize;
    m_strFontName = face && *face ? face : "Arial";
    if (m_pMetrics)
        m_pMetrics->SetFont(m_nFontSize, m_strFontName);
    const int height = HasFont() ? m_pMetrics->GetTextHeight() : 0;
    m_nStepX = m_nStepY = std::max(1, height);
}

CSize CGraphManager::GetTextExtent(const char* text, bool bold) const
{
    return HasFont() ? m_pMetrics->GetTextExtent(text ? text : "", bold) : CSize(0, 0);
}

COLORREF CGraphManager::GetColor(GraphColor role) const
{
    return role >= 0 && role < GraphColorCount ? m_Colors[role] : 0;
}

void CGraphManager::SetColor(GraphColor role, COLORREF color)
{
    if (role >= 0 && role < GraphColorCount)
        m_Colors[role] = color;
}

bool CGraphManager::CheckConstant(CGraphConst* constant, const char* value)
{
    return !m_pOwner || m_pOwner->CheckConstant(constant, value);
}
