#pragma once

namespace kestavel {

// A progress bar running from 0 to its maximum.
class ProgressBar {
  public:
    virtual ~ProgressBar() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setValue(int value) = 0;
    virtual void setVisible(bool visible) = 0;
};

}  // namespace kestavel
