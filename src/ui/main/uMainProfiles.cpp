// The main window's side of profile files.

#include "ui/main/uMain.h"

#include "ui/main/ProfileActions.h"

#include <QStatusBar>

TProfileActions &TMain::Profiles()
{
    if (!m_profiles) {
        TProfileContext c;
        c.Window = this;
        c.StatusBar = findChild<QStatusBar *>(QStringLiteral("sBar"));
        c.Debug = m_debug;
        c.BiosInfo = &BiosInfo;
        c.Cfg = m_cfg.get();
        c.CfgLoaded = &m_cfgLoaded;
        m_profiles = std::make_unique<TProfileActions>(c);
    }
    return *m_profiles;
}

void TMain::butSaveProfileClick()
{
    if (m_cfg)
        Profiles().butSaveProfileClick();
}

void TMain::butLoadProfileClick()
{
    if (m_cfg)
        Profiles().butLoadProfileClick();
}

bool TMain::LoadProfile(const QString &fileName)
{
    return m_cfg && Profiles().LoadProfile(fileName);
}
