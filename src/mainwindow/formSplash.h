// The splash window that covers the program's start: title, version, and what is loading.
#pragma once
#include <string>
#include "toolkit/Form.h"

class TLabel;
class TPanel;

class TfrmSplash : public TForm {
public:
  // Borderless and centred on the screen; shown by the caller.
  explicit TfrmSplash(TComponent* Owner);

  void FormCreate();
  // Shows Text in lblState and paints it at once.
  void SetState(const std::string& Text);

  TPanel* shpBack = nullptr;
  TPanel* shpBand = nullptr;
  TLabel* imgIcon = nullptr;
  TLabel* lblTitle = nullptr;
  TLabel* lblVersion = nullptr;
  TLabel* lblCopyright = nullptr;
  TLabel* lblRights = nullptr;
  TLabel* lblState = nullptr;
};
