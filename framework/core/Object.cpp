// CObject and CRuntimeClass: the registry of classes, dynamic creation and the kind tests.
#include "framework/core/Object.h"

#include <cstring>

namespace {
// Head of the list of registered classes. Built during static initialisation only.
const CRuntimeClass*& FirstRegisteredClass() {
    static const CRuntimeClass* first = nullptr;
    return first;
}
}  // namespace

CRuntimeClass::CRuntimeClass(const char* name, const CRuntimeClass* base, std::unique_ptr<CObject> (*create)())
    : m_lpszClassName(name), m_pBaseClass(base), m_pfnCreateObject(create) {
    m_pNextClass = FirstRegisteredClass();
    FirstRegisteredClass() = this;
}

std::unique_ptr<CObject> CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* name) {
    for (const CRuntimeClass* c = FirstRegisteredClass(); c != nullptr; c = c->m_pNextClass)
        if (std::strcmp(c->m_lpszClassName, name) == 0)
            return c;
    return nullptr;
}

const CRuntimeClass* CObject::GetThisClass() {
    static const CRuntimeClass runtimeClass("CObject", nullptr, nullptr);
    return &runtimeClass;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return GetThisClass();
}

bool CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}
