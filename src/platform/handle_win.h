#pragma once
// A Windows handle closed on every path out of a function. For the *_win backends only; kept free
// of the system's headers (a HANDLE is a pointer).
namespace platform {

class Handle {
 public:
  static void* Invalid() { return reinterpret_cast<void*>(static_cast<long long>(-1)); }
  explicit Handle(void* handle = Invalid()) : handle_(handle ? handle : Invalid()) {}
  ~Handle();
  Handle(Handle&& other) noexcept : handle_(other.release()) {}
  Handle& operator=(Handle&&) = delete;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  void* get() const { return handle_; }
  bool ok() const { return handle_ != Invalid(); }
  void* release() {
    void* handle = handle_;
    handle_ = Invalid();
    return handle;
  }

 private:
  void* handle_;
};

}  // namespace platform
