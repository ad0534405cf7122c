// The splash window that covers the program's start: title, version, and what is loading.
#pragma once
#include <string>
#include "toolkit/Form.h"

class TLabel;
class TPanel;

class TfrmSplash : public TForm {
public:
  // Borderless and centred on the screen; shown by ShowForStart.
  explicit TfrmSplash(TComponent* Owner);
  ~TfrmSplash() override;

  void FormCreate();
  // Shows the splash at once without taking the focus. From then on until it goes, a modal
  // question of the program hides it first, so that nothing of the start covers the question.
  void ShowForStart();
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

private:
  void GiveWayToQuestion();
  void StopGivingWay();
  bool givesWay_ = false;  // the toolkit's hook before modal questions is this splash's
};
