#include "form/form1.h"

TForm1 Form1;
TApplication Application;

TForm1::TForm1() {
  BtnBack.Caption = "< &Back";
  BtnBack.Visible = false;
  BtnNext.Caption = "&Next >";
  BtnCancel.Caption = "&Cancel";
  ListBox1.Visible = false;
  CheckBox3.Visible = false;
  CheckBox4.Visible = false;
  Panel2.Visible = false;
  for (Panel* page : {&P1, &P2, &P3, &P4, &P5, &P6, &P7}) page->Visible = false;
}
