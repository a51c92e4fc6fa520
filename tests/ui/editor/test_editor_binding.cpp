// The editor form and the parameter model stay in step: every field has its
// control, every control of the editor its field, and the form takes its
// ranges and lists from the model.
#include "ui/editor/ConfigEditorForm.h"
#include "ui/editor/EditorBinding.h"
#include "ui_ConfigEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <set>

TEST(EditorBinding, EveryFieldHasOneControlOfItsKind)
{
    ConfigEditorForm form;
    const EditorBinding binding(form.form());
    std::set<QWidget *> seen;
    for (const ParamField &f : paramFields()) {
        QWidget *c = binding.control(f.id);
        if (f.readOnly) {
            EXPECT_EQ(c, nullptr) << f.name;
            continue;
        }
        ASSERT_NE(c, nullptr) << f.name;
        EXPECT_TRUE(seen.insert(c).second) << f.name << " shares its control";
        if (f.rule == FieldRule::Flag)
            EXPECT_NE(qobject_cast<QCheckBox *>(c), nullptr) << f.name;
        else if (f.isList())
            EXPECT_NE(qobject_cast<QComboBox *>(c), nullptr) << f.name;
        else
            EXPECT_NE(qobject_cast<QSpinBox *>(c), nullptr) << f.name;
    }
}

TEST(EditorBinding, EveryInputOfTheEditorHasItsField)
{
    ConfigEditorForm form;
    const EditorBinding binding(form.form());
    std::set<QWidget *> bound;
    for (const EditorBinding::Entry &e : binding.entries())
        bound.insert(e.control);
    for (QWidget *w : form.form().pageConfig->findChildren<QWidget *>()) {
        const bool input = qobject_cast<QSpinBox *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QCheckBox *>(w);
        if (input) {
            EXPECT_TRUE(bound.count(w)) << w->objectName().toStdString() << " has no field";
        }
    }
}

TEST(EditorBinding, FormTakesRangesAndListsFromTheModel)
{
    ConfigEditorForm form;
    const EditorBinding binding(form.form());
    for (const EditorBinding::Entry &e : binding.entries()) {
        const ParamField &f = paramField(e.field);
        if (auto *spin = qobject_cast<QSpinBox *>(e.control)) {
            EXPECT_EQ(spin->minimum(), f.min) << f.name;
            EXPECT_LE(spin->maximum(), f.max) << f.name;
            EXPECT_EQ(spin->singleStep(), f.step) << f.name;
        } else if (auto *combo = qobject_cast<QComboBox *>(e.control)) {
            ASSERT_GE(combo->count(), int(f.items.size())) << f.name;
            for (int i = 0; i < int(f.items.size()); ++i)
                EXPECT_EQ(combo->itemText(i), QString::fromUtf8(f.items[std::size_t(i)].text)) << f.name;
        }
    }
    // The bit clock lists end with an empty ninth item; the rest hold their items only.
    EXPECT_EQ(form.form().cbWS2801clk->count(), 9);
    EXPECT_TRUE(form.form().cbWS2801clk->itemText(8).isEmpty());
    EXPECT_EQ(form.form().cbLedProto->count(), 6);
    EXPECT_EQ(form.form().edBright->suffix(), " %");
    EXPECT_EQ(form.form().edStripeCount->maximum(), 1024);
}
