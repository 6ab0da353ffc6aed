// CCreateContext: what a frame needs to make its view, handed through CWnd::Create as the
// creation parameter (CREATESTRUCT::lpCreateParams) of the frame and of the view.
#pragma once

#include "framework/core/Object.h"

class CDocument;

// The frame makes a view of m_pNewViewClass, which adds itself to m_pCurrentDoc while its window
// is created.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
};
