#include "ILView.h"

IMPLEMENT_DYNCREATE(CILView, CSourceView)

CILView::CILView()
{
    SetSyntaxParser(&m_parser);
}
