// The document of the single-document template: the template needs one; the program keeps no data in it.
#pragma once
#include "fw/Framework.h"

class CTarvexDoc : public CDocument {
    DECLARE_DYNCREATE(CTarvexDoc)
public:
    CTarvexDoc() = default;
};
