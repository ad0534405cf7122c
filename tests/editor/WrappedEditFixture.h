// A visible editor exactly Columns characters wide with word wrap on, for the wrap tests.
#pragma once
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include "CodeEditTestFixture.h"
#include "support/ScreenCapture.h"

namespace codeedittest {

class WrappedEditTest : public ::testing::Test {
protected:
  // Prepare runs on the editor before its window exists (colours and the like).
  void ShowWrapped(const std::string& Text, TCodeEditorOptions Options = CodeEditDefaultOptions,
                   int Columns = 40, const std::function<void(TTestEdit&)>& Prepare = nullptr) {
    window_ = std::make_unique<testsupport::TTopLevelWindow>(800, 400);
    edit_ = MakeEdit(Text, Options);
    edit_->SetBorderStyle(TBorderStyle::bsNone);
    edit_->SetScrollBars(TScrollStyle::ssNone);
    if (Prepare) Prepare(*edit_);
    edit_->OnStatusChange = [](TObject*, TCodeStatusChanges) {};
    edit_->CreateWnd(window_->Handle(), 0, 0, 800, 400);
    ASSERT_TRUE(edit_->HandleAllocated());
    SetColumns(Columns);
    edit_->SetWordWrap(true);
  }
  void SetColumns(int Columns, int Height = 400) {
    edit_->SetBounds(0, 0, edit_->GutterWidth() + 2 + Columns * edit_->CharWidth(), Height);
    ASSERT_EQ(edit_->CharsInWindow(), Columns);
  }
  std::string Line(int Line) const { return edit_->Lines()[Line - 1]; }

  std::unique_ptr<testsupport::TTopLevelWindow> window_;
  std::unique_ptr<TTestEdit> edit_;
};

}  // namespace codeedittest
