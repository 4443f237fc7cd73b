// The wizard window Form1: every control the logic touches, with its design-time state.
// Pages add their controls here as they arrive.
#pragma once
#include <functional>
#include <string>

#include "form/controls.h"

class TForm1 {
 public:
  TForm1();

  std::string Caption = "Setup";

  // The frame.
  Panel Panel1;  // pages 1, 2 and 10
  Image Image1;  // the large picture
  Label Label1;  // page title on Panel1
  Label Label2;  // page text on Panel1
  Panel Panel2;  // pages 3 to 9
  Image Image2;  // the header picture
  Label Text1;   // page title on Panel2
  Label Text2;   // page subtitle on Panel2
  Panel P1, P2, P3, P4, P5, P6, P7;
  Button BtnBack;
  Button BtnNext;
  Button BtnCancel;
  ListBox ListBox1;  // never visible: the scratch list for a section's key names

  // Language page.
  ComboBox ComboLng;

  // User information.
  Edit EUser;
  Edit ECompany;
  Edit ECustomInfo;

  // Destination and program group.
  Edit Edit1;       // installation folder
  Button Button4;   // its Browse button
  ComboBox ComboBox1;  // program group
  CheckBox CheckBox2;  // no program group
  CheckBox CheckBox3;  // shortcuts on the desktop
  CheckBox CheckBox4;  // shortcuts on the Quick Launch bar

  // Install page.
  Label Label8;              // the status line
  Label Label14;             // the item being installed
  ProgressBar ProgressBar1;  // 0 to 100

  // The control with the keyboard focus; nullptr: none.
  Control* ActiveControl = nullptr;
  void FocusControl(Control& control) {
    if (control.CanFocus()) ActiveControl = &control;
  }

  // The first activation of the window, and every later one.
  std::function<void()> OnActivate;
  void Activate() {
    if (OnActivate) OnActivate();
  }
};

struct TApplication {
  std::string Title;
};

extern TForm1 Form1;
extern TApplication Application;
