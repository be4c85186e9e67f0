#pragma once
// The small window that asks which prefix to work on when the game is found
// in more than one: each prefix with its launcher and game where known, its
// Wine build and when Wine last changed it.

#include <QDialog>
#include <vector>

#include "platform/prefix_selection.h"

class QCheckBox;
class QTreeWidget;

namespace platform::ui {

class PrefixChooser : public QDialog {
    Q_OBJECT
  public:
    // notes are shown above the list (e.g. a remembered prefix dropped).
    PrefixChooser(const std::vector<PrefixCandidate>& candidates,
                  const std::vector<std::string>& notes, QWidget* parent = nullptr);

    int chosen() const;     // index into the candidates; -1 when none
    bool remember() const;  // "Remember this choice" is ticked

  private:
    QTreeWidget* list_ = nullptr;
    QCheckBox* remember_ = nullptr;
};

}  // namespace platform::ui
