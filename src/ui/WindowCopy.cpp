#include "ui/WindowCopy.h"

#include "output/CopyEngine.h"
#include "ui/QtButton.h"
#include "ui/QtControls.h"
#include "ui/QtProgressBar.h"
#include "ui/QtTextBoxes.h"
#include "ui/QtWindowPoster.h"

namespace kestavel {

WindowCopy::WindowCopy(const Controls& controls)
    : poster_(std::make_unique<QtWindowPoster>(controls.window)),
      overallBar_(std::make_unique<QtProgressBar>(controls.overallBar)),
      fileBar_(std::make_unique<QtProgressBar>(controls.fileBar)),
      copyButton_(std::make_unique<QtButton>(controls.copyButton)),
      targetFolder_(controls.targetFolder ? std::make_unique<LineEditBox>(controls.targetFolder)
                                          : nullptr),
      defaultTarget_(controls.defaultTarget ? std::make_unique<QtCheckBox>(controls.defaultTarget)
                                            : nullptr),
      engine_(std::make_unique<CopyEngine>(
          CopyWindow{controls.variant, controls.list, controls.workshopFolder, controls.resultBox,
                     *overallBar_, *fileBar_, *copyButton_, controls.dialogs, *poster_,
                     controls.progressBox, targetFolder_.get(), defaultTarget_.get()})) {}

WindowCopy::~WindowCopy() = default;

void WindowCopy::start() {
    engine_->start();
}

void WindowCopy::askToStop() {
    engine_->askToStop();
}

bool WindowCopy::allowClose() {
    return engine_->allowClose();
}

}  // namespace kestavel
