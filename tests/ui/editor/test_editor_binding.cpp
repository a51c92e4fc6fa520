// The editor form and the parameter model stay in step: every field has its
// control, every control of the editor its field.
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
