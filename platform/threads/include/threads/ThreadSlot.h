// Per-thread storage without the compiler's thread_local: on Windows a TLS slot (thread_local objects with
// destructors pull in a runtime function that Windows 95, 98 and NT 4 lack). A slot holds one pointer per
// thread; ThreadLocal<T> owns one T per thread, made on first use and destroyed when its thread ends.
//
// A slot is never given back: it is meant for a static of the process (a namespace-scope or function-local
// static), so its destructor is trivial and a thread that ends during the process's own end still finds it.
#pragma once

namespace threads {

class ThreadSlot {
public:
    using Destroy = void (*)(void*);

    // `destroy`, when given, is called with a thread's non-null value when that thread ends. Windows
    // guarantees a process 64 slots; a process that has none left stops here with a message.
    explicit ThreadSlot(Destroy destroy = nullptr);
    ThreadSlot(const ThreadSlot&) = delete;
    ThreadSlot& operator=(const ThreadSlot&) = delete;

    void* Get() const;
    void Set(void* value);

private:
    unsigned long m_index;
};

// One T per thread, made on first use in that thread.
template <typename T> class ThreadLocal {
public:
    ThreadLocal() : m_slot(&DestroyValue) {}

    T& Get() {
        T* value = static_cast<T*>(m_slot.Get());
        if (value == nullptr) {
            // The slot owns the value from here on: DestroyValue deletes it when the thread ends.
            value = new T();
            m_slot.Set(value);
        }
        return *value;
    }

private:
    static void DestroyValue(void* value) { delete static_cast<T*>(value); }

    ThreadSlot m_slot;
};

} // namespace threads
