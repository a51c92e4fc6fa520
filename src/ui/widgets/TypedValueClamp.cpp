#include "ui/widgets/TypedValueClamp.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QValidator>

#include <algorithm>

namespace {

// Wraps the spin box's own validator, which keeps handling everything else
// (prefix, suffix, special value text, numbers in range).
class ClampingValidator : public QValidator
{
public:
    ClampingValidator(QSpinBox *spin, const QValidator *own)
        : QValidator(spin), m_spin(spin), m_own(own)
    {
    }

    State validate(QString &input, int &pos) const override
    {
        const State state = m_own->validate(input, pos);
        if (state != Invalid || !exceedsMaximum(input))
            return state;
        QLocale plain = m_spin->locale();
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        input = m_spin->prefix() + plain.toString(m_spin->maximum()) + m_spin->suffix();
        pos = int(input.size() - m_spin->suffix().size());
        return Acceptable;
    }

    void fixup(QString &input) const override { m_own->fixup(input); }

private:
    // Plain digits only: anything else is the spin box's own business.
    bool exceedsMaximum(const QString &input) const
    {
        QStringView number(input);
        if (number.startsWith(m_spin->prefix()))
            number = number.mid(m_spin->prefix().size());
        if (number.endsWith(m_spin->suffix()))
            number.chop(m_spin->suffix().size());
        number = number.trimmed();
        if (number.isEmpty() || !std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); }))
            return false;
        bool ok = false;
        const qlonglong value = m_spin->locale().toLongLong(number, &ok);
        return !ok || value > m_spin->maximum(); // not ok: more digits than any integer holds
    }

    QSpinBox *m_spin;
    const QValidator *m_own; // a child of the spin box, as this one is
};

} // namespace

void clampTypedValues(QSpinBox *spin)
{
    // A spin box makes its line edit and validator when it is made.
    auto *edit = spin->findChild<QLineEdit *>();
    edit->setValidator(new ClampingValidator(spin, edit->validator()));
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}
