#include "app/TarvexView.h"

IMPLEMENT_DYNCREATE(CTarvexView, CView)

void CTarvexView::OnDraw(CDC*) {}
