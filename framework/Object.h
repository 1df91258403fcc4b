#pragma once

// Root of the class library's classes: a virtual destructor and run-time
// type queries, so that owners can delete and inspect objects they only
// know by a base pointer.
class CObject {
public:
    CObject() = default;
    virtual ~CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;

    template <class T>
    bool IsKindOf() const
    {
        return dynamic_cast<const T*>(this) != nullptr;
    }
};
