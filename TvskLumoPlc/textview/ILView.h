// The instruction-list view: a source view coloured by the instruction-list parser.
#pragma once

#include "SourceView.h"

#include <TvskLumoPlc/text/SyntaxParser.h>

class CILView : public CSourceView
{
    DECLARE_DYNCREATE(CILView)

public:
    CILView();

private:
    CIlSyntaxParser m_parser;
};
