// Reference-counted handle shared by the host and the module.
//
// A handle holds the object pointer and a pointer to a separately allocated
// count. A new handle starts at count 1, even over a null object; copies share
// the count; the handle that takes the count to 0 frees the count and deletes
// the object (through its virtual destructor where the type has one). The
// count is a plain integer: handles live on the host's thread only.
#pragma once

#include <cstdint>
#include <utility>

// GCC 12 cannot tell that a shared count which another handle still holds was
// not freed, and reports every later use of that count as a use after free.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
#define SMARTPOINTERS_POP_DIAGNOSTIC 1
#endif

namespace SmartPointers {

template <class T>
class CountedPtr {
public:
    using element_type = T;

    // A new handle over obj (null allowed) with a fresh count of 1.
    explicit CountedPtr(T* obj = nullptr) : object_(obj), count_(new std::int32_t(1)) {}

    // A copy shares the other handle's object and count. Copying a handle that
    // was already released gives a fresh handle over null instead of sharing
    // a count that no longer exists.
    CountedPtr(const CountedPtr& other) : object_(other.object_), count_(other.count_) {
        if (count_ == nullptr) {
            object_ = nullptr;
            count_ = new std::int32_t(1);
            return;
        }
        ++*count_;
    }

    CountedPtr& operator=(const CountedPtr& other) {
        if (this == &other) {
            return *this;
        }
        release();
        if (other.count_ == nullptr) {
            object_ = nullptr;
            count_ = new std::int32_t(1);
            return *this;
        }
        object_ = other.object_;
        count_ = other.count_;
        ++*count_;
        return *this;
    }

    virtual ~CountedPtr() { release(); }

    // Drops this handle's share: when it was the last one, frees the count and
    // the object. Either way the handle is left empty (both pointers null), so
    // a handle released by hand is not released a second time when it is
    // destroyed.
    void release() {
        std::int32_t* count = count_;
        T* object = object_;
        count_ = nullptr;
        object_ = nullptr;
        if (count == nullptr) {
            return;
        }
        if (--*count > 0) {
            return;
        }
        delete count;
        delete object;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    bool isNull() const { return object_ == nullptr; }
    explicit operator bool() const { return object_ != nullptr; }

    // Number of live handles sharing the object; 0 after the last release.
    std::int32_t useCount() const { return count_ == nullptr ? 0 : *count_; }
    const std::int32_t* countPtr() const { return count_; }

private:
    T* object_;
    std::int32_t* count_;
};

}  // namespace SmartPointers

#ifdef SMARTPOINTERS_POP_DIAGNOSTIC
#pragma GCC diagnostic pop
#undef SMARTPOINTERS_POP_DIAGNOSTIC
#endif

// Declares a named handle: a class derived from one CountedPtr instantiation
// that adds no members of its own.
#define SMARTPOINTERS_NAMED_HANDLE(Name, Type)                                                             \
    class Name : public ::SmartPointers::CountedPtr<Type> {                                                \
    public:                                                                                                \
        explicit Name(Type* obj = nullptr) : ::SmartPointers::CountedPtr<Type>(obj) {}                     \
        Name(const ::SmartPointers::CountedPtr<Type>& other) : ::SmartPointers::CountedPtr<Type>(other) {} \
        Name(const Name&) = default;                                                                       \
        Name& operator=(const Name&) = default;                                                            \
        ~Name() override = default;                                                                        \
    }
