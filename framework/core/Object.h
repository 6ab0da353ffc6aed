// CObject and CRuntimeClass: run-time class information and dynamic creation by class.
#pragma once

#include <memory>

class CObject;

struct CRuntimeClass {
    const CRuntimeClass* m_pBaseClass;
    std::unique_ptr<CObject> (*m_pfnCreateObject)();  // null when not dynamically creatable

    // A new object of this class, or null when the class is not dynamically creatable.
    std::unique_ptr<CObject> CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    static const CRuntimeClass* GetThisClass();
};

// A new object of the run-time class, as T; null when the class cannot be created or is no T.
template <class T>
std::unique_ptr<T> CreateObjectAs(const CRuntimeClass* pClass) {
    if (pClass == nullptr || !pClass->IsDerivedFrom(T::GetThisClass()))
        return nullptr;
    std::unique_ptr<CObject> object = pClass->CreateObject();
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name) \
public:                             \
    static const CRuntimeClass* GetThisClass();

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static std::unique_ptr<CObject> CreateObject();

#define OKTALON_IMPLEMENT_RUNTIMECLASS(class_name, base_name, create)              \
    const CRuntimeClass* class_name::GetThisClass() {                              \
        static const CRuntimeClass runtimeClass{RUNTIME_CLASS(base_name), create}; \
        return &runtimeClass;                                                      \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_name) OKTALON_IMPLEMENT_RUNTIMECLASS(class_name, base_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)        \
    std::unique_ptr<CObject> class_name::CreateObject() { \
        return std::make_unique<class_name>();            \
    }                                                     \
    OKTALON_IMPLEMENT_RUNTIMECLASS(class_name, base_name, &class_name::CreateObject)
