// CObject and CRuntimeClass: dynamic creation and the derivation test.
#include "framework/core/Object.h"

std::unique_ptr<CObject> CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

const CRuntimeClass* CObject::GetThisClass() {
    static const CRuntimeClass runtimeClass{nullptr, nullptr};
    return &runtimeClass;
}
