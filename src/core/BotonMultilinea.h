#pragma once

#include <QPushButton>

namespace corvela {

// A command button whose caption wraps onto several lines, as the narrow buttons
// of the configuration frame need.
class BotonMultilinea : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* evento) override;
};

} // namespace corvela
