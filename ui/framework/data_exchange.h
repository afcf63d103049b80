#pragma once

#include <string>

class CDialog;

// One run of a dialog's bindings in one direction. A binding that fails to parse marks the
// exchange failed; every later DDX_ call of the same run then does nothing.
class CDataExchange {
  public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog& Dialog() const { return m_dialog; }
    bool SaveAndValidate() const { return m_bSaveAndValidate; }
    bool Failed() const { return m_failed; }
    void Fail() { m_failed = true; }

  private:
    CDialog& m_dialog;
    bool m_bSaveAndValidate;
    bool m_failed = false;
};

void DDX_Check(CDataExchange* pDX, int id, int& value);
// A flag: ticked or not (an indeterminate box reads as ticked).
void DDX_Check(CDataExchange* pDX, int id, bool& value);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
