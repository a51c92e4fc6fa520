#pragma once
#include "SimFixture.h"

#include "session/ControllerSession.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/editor/ConfigEditor.h"
#include "ui/editor/ConfigEditorForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

// A stand-in for the main window: the editor form plus the controls of the
// main window the editor touches.
class CfgTestWindow : public QWidget {
public:
    CfgTestWindow()
    {
        auto *lay = new QVBoxLayout(this);
        capacity = new QLabel(this);
        editor = new ConfigEditorForm(this);
        send = new QPushButton(QStringLiteral("Send to CORVANE"), this);
        autoSend = new QCheckBox(QStringLiteral("Auto Send"), this);
        bar = new QStatusBar(this);
        for (QWidget *w : {static_cast<QWidget *>(capacity), static_cast<QWidget *>(editor),
                           static_cast<QWidget *>(send), static_cast<QWidget *>(autoSend),
                           static_cast<QWidget *>(bar)})
            lay->addWidget(w);
    }

    EditorFrame frame() const { return {capacity, send, autoSend, bar}; }

    QLabel *capacity;
    ConfigEditorForm *editor;
    QPushButton *send;
    QCheckBox *autoSend;
    QStatusBar *bar;
};

// The session and the editor as the tests reach them.
struct CfgUnderTest {
    ControllerSession &session;
    ConfigEditor &editor;

    QList<TCfgData> params() const { return session.params(); }
    SessionResult DoInit() { return editor.DoInit(); }
    SessionResult SendConfig() { return editor.SendConfig(); }
    const QTimer &SaveTimer() const { return editor.SaveTimer(); }
};

// One simulated controller, the test window, the session and the editor.
// Every message box is answered at once with "Close" and recorded.
class CfgFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMsgBox::resetTestResponder();
        TMsgBox::setTestResponder([](const TMsgBox::Call &) { return int(mrClose); });
    }
    void TearDown() override { TMsgBox::resetTestResponder(); }

    // Plugs a controller (the sane one unless changed) and identifies it.
    SimUnit *plug(SimControllerModel model = SimControllerModel::sane(1))
    {
        unit = bus.add(model);
        session.start([this] { return std::make_unique<SimController>(&bus); });
        session.select(0);
        DeviceReadouts readouts;
        session.identify(readouts);
        unit->clearReceived();
        return unit;
    }

    // A fresh load, as choosing the controller again asks for one.
    void load()
    {
        session.select(0);
        editor.DoInit();
    }

    SimUnit *loadSane()
    {
        plug();
        load();
        unit->clearReceived();
        return unit;
    }

    template <typename T> T *w(const char *name) const
    {
        T *c = win.findChild<T *>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QSpinBox *spin(const char *name) const { return w<QSpinBox>(name); }
    QComboBox *combo(const char *name) const { return w<QComboBox>(name); }
    QCheckBox *check(const char *name) const { return w<QCheckBox>(name); }
    QLabel *label(const char *name) const { return w<QLabel>(name); }

    // What a spin box, list or check box shows: its value, index or state.
    int shown(const char *name) const
    {
        QWidget *c = w<QWidget>(name);
        if (auto *s = qobject_cast<QSpinBox *>(c))
            return s->value();
        if (auto *b = qobject_cast<QCheckBox *>(c))
            return b->isChecked();
        return qobject_cast<QComboBox *>(c)->currentIndex();
    }
    // Edits it as the user does.
    void edit(const char *name, int to) const
    {
        QWidget *c = w<QWidget>(name);
        if (auto *s = qobject_cast<QSpinBox *>(c))
            s->setValue(to);
        else if (auto *b = qobject_cast<QCheckBox *>(c); b && b->isChecked() != bool(to))
            b->click();
        else if (auto *l = qobject_cast<QComboBox *>(c))
            l->setCurrentIndex(to);
    }

    uint32_t value(const char *tag) const
    {
        for (const TCfgData &d : session.params()) {
            if (d.Code == tag)
                return d.Value;
        }
        ADD_FAILURE() << "no parameter " << tag;
        return 0;
    }

    // Tags of the write commands the controller received, in order.
    QStringList writtenTags() const
    {
        QStringList tags;
        for (const QByteArray &r : unit->received()) {
            if (r.size() > 6 && uint8_t(r[2]) == 0xED)
                tags << QString::fromLatin1(r.mid(3, 4));
        }
        return tags;
    }

    QList<TMsgBox::Call> boxes() const { return TMsgBox::testCalls(); }
    bool loaded() const { return session.loaded(); }

    SimBus bus;
    SimUnit *unit = nullptr;
    CfgTestWindow win;
    ControllerSession session;
    ConfigEditor editor{*win.editor, win.frame(), session};
    CfgUnderTest cfg{session, editor};
};
