#include "ui/PictureCopy.h"

#include "output/CopyEngine.h"
#include "ui/QtButton.h"
#include "ui/QtControls.h"
#include "ui/QtProgressBar.h"
#include "ui/QtTextBoxes.h"
#include "ui/QtWindowPoster.h"

namespace kestavel {

PictureCopy::PictureCopy(const Controls& controls)
    : poster_(std::make_unique<QtWindowPoster>(controls.window)),
      overallBar_(std::make_unique<QtProgressBar>(controls.overallBar)),
      fileBar_(std::make_unique<QtProgressBar>(controls.fileBar)),
      copyButton_(std::make_unique<QtButton>(controls.copyButton)),
      targetFolder_(std::make_unique<LineEditBox>(controls.targetFolder)),
      defaultTarget_(std::make_unique<QtCheckBox>(controls.defaultTarget)),
      engine_(std::make_unique<CopyEngine>(
          CopyWindow{CopyVariant::Picture, controls.list, controls.workshopFolder,
                     controls.resultBox, *overallBar_, *fileBar_, *copyButton_, controls.dialogs,
                     *poster_, nullptr, targetFolder_.get(), defaultTarget_.get()})) {}

PictureCopy::~PictureCopy() = default;

void PictureCopy::start() {
    engine_->start();
}

bool PictureCopy::allowClose() {
    return engine_->allowClose();
}

}  // namespace kestavel
