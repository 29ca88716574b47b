// The view of the single-document template: a child of the hidden frame that nobody sees; it draws nothing.
#pragma once
#include "fw/Framework.h"

class CTarvexView : public CView {
    DECLARE_DYNCREATE(CTarvexView)
public:
    CTarvexView() = default;
    void OnDraw(CDC* pDC) override;
};
