// The common object base and class descriptors through which the framework creates objects.
#pragma once

#include <memory>

class CArchive;
class CObject;

// Describes a class: its name, its base's descriptor, and how to make a default object.
struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    CObject* (*m_pfnCreateObject)();

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    // A new object of the class, owned by the caller, when the class makes objects and they
    // are Ts; null otherwise (nothing is left behind).
    template <class T> std::unique_ptr<T> CreateAs() const;
    bool IsDerivedFrom(const CRuntimeClass* pBase) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    // Writes or reads the object's persistent fields; the base has none.
    virtual void Serialize(CArchive& ar);
    bool IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
};

template <class T> std::unique_ptr<T> CRuntimeClass::CreateAs() const
{
    std::unique_ptr<CObject> object(CreateObject());
    auto* typed = dynamic_cast<T*>(object.get());
    if (!typed)
        return nullptr;
    object.release();
    return std::unique_ptr<T>(typed);
}

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// In the class body: a descriptor and a creation function.
#define DECLARE_DYNCREATE(class_name)                                                              \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    static CObject* CreateObject();                                                                \
    const CRuntimeClass* GetRuntimeClass() const override;

// In the source file.
#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() { return new class_name; }                                 \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, RUNTIME_CLASS(base_class_name), &class_name::CreateObject};                   \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

// A descriptor without a creation function, for framework base classes.
#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    const CRuntimeClass class_name::class##class_name = {#class_name,                              \
                                                         RUNTIME_CLASS(base_class_name), nullptr}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }
