// The plan view's values as the controls show them, unchecked: what the
// recovery copy keeps of a plan that may not pass the checks yet.

#include "app/PlanForm.h"

#include "planfile/PlanFieldValue.h"

namespace {

const QString kTicked = QStringLiteral("1");

} // namespace

QList<QPair<QString, QString>> TPlanForm::texts() const
{
    QList<QPair<QString, QString>> values;
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        const FieldControl &control = fieldControl(field);
        QString value;
        if (auto *const *memo = std::get_if<TMemo *>(&control)) {
            value = (*memo)->toPlainText();
        } else if (auto *const *edit = std::get_if<TEdit *>(&control)) {
            value = (*edit)->text();
        } else if (auto *const *box = std::get_if<TChoiceBox *>(&control)) {
            value = (*box)->isEditable() ? (*box)->currentText() : QString::number((*box)->currentIndex());
        } else if (auto *const *tick = std::get_if<QCheckBox *>(&control)) {
            value = (*tick)->isChecked() ? kTicked : QStringLiteral("0");
        } else if (auto *const *label = std::get_if<TClickLabel *>(&control)) {
            value = (*label)->text();
        } else if (auto *const *cell = std::get_if<TMarkCell *>(&control)) {
            value = (*cell)->text();
        }
        values.append({QString::fromUtf8(field.key), value});
    }
    return values;
}

void TPlanForm::showTexts(const QList<QPair<QString, QString>> &texts)
{
    ++m_filling;
    for (const auto &[key, value] : texts) {
        const planfile::PlanField *field = planfile::fieldByKey(key.toStdString());
        if (field == nullptr) {
            continue;
        }
        const FieldControl &control = fieldControl(*field);
        if (auto *const *memo = std::get_if<TMemo *>(&control)) {
            (*memo)->setText(value);
        } else if (auto *const *edit = std::get_if<TEdit *>(&control)) {
            (*edit)->setText(value);
        } else if (auto *const *box = std::get_if<TChoiceBox *>(&control)) {
            if ((*box)->isEditable()) {
                (*box)->setEditText(value);
            } else {
                (*box)->setCurrentIndex(value.toInt());
            }
        } else if (auto *const *tick = std::get_if<QCheckBox *>(&control)) {
            (*tick)->setChecked(value == kTicked);
        } else if (auto *const *label = std::get_if<TClickLabel *>(&control)) {
            (*label)->setText(value);
        } else if (auto *const *cell = std::get_if<TMarkCell *>(&control)) {
            (*cell)->setText(value);
        }
    }
    showHeader();
    --m_filling;
}
