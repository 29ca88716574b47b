#include "app/TarvexDoc.h"

IMPLEMENT_DYNCREATE(CTarvexDoc, CDocument)
