// CPaintDC: BeginPaint in the constructor, EndPaint in the destructor.
#include "CPaintDC.h"

#include "CWnd.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { ::BeginPaint(m_hWnd, &m_paint); }

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_paint); }
