#pragma once
#include "SimFixture.h"

#include "ui/editor/ConfigEditorForm.h"
#include "ui/editor/uConfig.h"
#include "core/protocol/DeviceCrypto.h"
#include "ui/dialogs/uMessageBox.h"

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
// main window that the parameter set touches, found by their object names.
class CfgTestWindow : public QWidget, public TCfgHost {
public:
    CfgTestWindow()
    {
        auto *lay = new QVBoxLayout(this);
        capacity = new QLabel(this);
        capacity->setObjectName("labCapacity");
        editor = new ConfigEditorForm(this);
        send = new QPushButton(QStringLiteral("Send to CORVANE"), this);
        send->setObjectName("ButSaveConfig");
        autoSend = new QCheckBox(QStringLiteral("Auto Send"), this);
        autoSend->setObjectName("chkAutoSend");
        bar = new QStatusBar(this);
        bar->setObjectName("sBar");
        for (QWidget *w : {static_cast<QWidget *>(capacity), static_cast<QWidget *>(editor),
                           static_cast<QWidget *>(send), static_cast<QWidget *>(autoSend),
                           static_cast<QWidget *>(bar)})
            lay->addWidget(w);
    }

    bool &CfgLoaded() override { return loaded; }
    TComHid *ComHid() override { return hid; }
    const TCrypt &Crypt() const override { return crypt; }

    bool loaded = false;
    TComHid *hid = nullptr;
    TCrypt crypt{};

    QLabel *capacity;
    ConfigEditorForm *editor;
    QPushButton *send;
    QCheckBox *autoSend;
    QStatusBar *bar;
};

// One simulated controller, the test window and the parameter set. Every
// message box is answered at once with "Close" and recorded.
class CfgFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMsgBox::resetTestResponder();
        TMsgBox::setTestResponder([](const TMsgBox::Call &) { return int(mrClose); });
    }
    void TearDown() override { TMsgBox::resetTestResponder(); }

    // Plugs a controller (the sane one unless changed) and opens it.
    SimUnit *plug(SimControllerModel model = SimControllerModel::Sane(1))
    {
        unit = sim.bus.Add(model);
        sim.start();
        sim.hid->SetDevice(0);
        win.hid = sim.hid.get();
        win.crypt = DeriveCrypt(model.CpuInfo.data());
        return unit;
    }

    // A fresh load, as the device session asks for one.
    void load()
    {
        win.loaded = false;
        cfg.DoInit();
    }

    SimUnit *loadSane()
    {
        plug();
        load();
        unit->ClearReceived();
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

    uint32_t value(const char *tag) const
    {
        for (const TCfgData &d : cfg.CfgData) {
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
        for (const QByteArray &r : unit->Received()) {
            if (r.size() > 6 && uint8_t(r[2]) == 0xED)
                tags << QString::fromLatin1(r.mid(3, 4));
        }
        return tags;
    }

    QList<TMsgBox::Call> boxes() const { return TMsgBox::testCalls(); }

    SimTransport sim;
    SimUnit *unit = nullptr;
    CfgTestWindow win;
    TCfg cfg{&win, win};
};
