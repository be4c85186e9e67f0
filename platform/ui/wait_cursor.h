#pragma once
// The hourglass: Qt's override cursor for as long as the object lives.

namespace platform::ui {

class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void Restore();  // ends it early

  private:
    bool active_ = true;
};

}  // namespace platform::ui
