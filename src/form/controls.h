// The wizard's controls as objects that hold their state and raise their events. The logic
// reads and writes only these; the Win32 window mirrors them into real controls and turns the
// user's input back into changes and events, so everything runs unchanged without a window.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "form/bitmap.h"

struct Control {
  bool Visible = true;
  bool Enabled = true;
  bool CanFocus() const { return Visible && Enabled; }
};

struct Label : Control {
  std::string Caption;
};

struct Panel : Control {};

struct Button : Control {
  std::string Caption;
  std::function<void()> OnClick;
  void Click() {
    if (OnClick) OnClick();
  }
};

struct Edit : Control {
  std::string Text;
  std::function<void(char& key)> OnKeyPress;  // may turn the key into 0 (no key)
};

struct CheckBox : Control {
  std::string Caption;
  bool Checked = false;
  std::function<void()> OnClick;
};

struct ListBox : Control {
  std::vector<std::string> Items;
};

struct ComboBox : Control {
  std::vector<std::string> Items;
  int ItemIndex = -1;
  std::string Text;
  std::function<void()> OnChange;
  std::function<void(char& key)> OnKeyPress;
  // Selects an item (-1: none); the text of a drop-down list is its selected item's.
  void Select(int index) {
    ItemIndex = index >= 0 && index < static_cast<int>(Items.size()) ? index : -1;
    Text = ItemIndex >= 0 ? Items[ItemIndex] : std::string();
  }
};

struct ProgressBar : Control {
  int Min = 0, Max = 100;
  int Position = 0;
};

struct Image : Control {
  Bitmap Picture;  // shown stretched to the control
};
