#pragma once
// Buffers that a converting thread keeps from line to line and file to file, so that no
// line allocates. Each is made on first use and belongs to the thread that made it.
//
// Only plain pointers live in thread-local storage: an object with a destructor there is
// destroyed at thread exit, and with the emulated thread-local storage of the MinGW-w64
// toolchain that destruction can run after the storage itself was freed, corrupting the
// heap of a program that ends threads while it goes on. A thread that converts releases
// its buffers with `releaseThreadScratch` before it ends; one that never does keeps them
// until the process ends.

namespace quillon {

namespace detail {
/// Remembers how to release one of the calling thread's buffers.
void rememberScratch(void (*release)());
}  // namespace detail

/// The calling thread's buffer of type T, made on first use.
template <class T>
T& threadScratch() {
  static thread_local T* item = nullptr;
  if (!item) {
    item = new T();
    detail::rememberScratch([] {
      delete item;
      item = nullptr;
    });
  }
  return *item;
}

/// Releases the calling thread's buffers. Called by each thread that converts, last.
void releaseThreadScratch();

}  // namespace quillon
