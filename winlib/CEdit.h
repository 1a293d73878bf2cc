// CEdit: an edit control bound to a dialog member (DDX_Control); all it needs is CWnd's.
#pragma once

#include "CWnd.h"

class CEdit : public CWnd {};
