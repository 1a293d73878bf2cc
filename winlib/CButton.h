// CButton: a button control bound to a dialog member (DDX_Control); all it needs is CWnd's.
#pragma once

#include "CWnd.h"

class CButton : public CWnd {};
