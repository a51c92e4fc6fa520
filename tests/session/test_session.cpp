// Values with their origin, tickets, writes, profiles and the bus.
#include "SessionFixture.h"

#include "core/files/ProfileFile.h"
#include "session/ControllerLock.h"

#include <QSignalSpy>

using T = ParamTag;

TEST_F(SessionTest, NothingUnreadIsChangedSentOrSaved)
{
    open();
    unit->faults().readStatus.insert("BRIG", 0xC4);
    session.select(0);
    const SessionResult load = session.readAll();
    EXPECT_EQ(load.kind, SessionResult::Kind::LoadFailed);
    EXPECT_EQ(session.source(T::LAYO), ValueSource::Read);
    EXPECT_EQ(session.source(T::BRIG), ValueSource::None);
    EXPECT_FALSE(session.setFields({{FieldId::StartupRed, 1}}).ok());
    EXPECT_TRUE(session.writeChanged(session.ticket()).ok()) << "nothing counts as changed";
    const SessionResult saved = session.saveProfile(QStringLiteral("never-written.cvn"));
    EXPECT_TRUE(saved.message.startsWith(QStringLiteral("Not saved: BRIG"))) << saved.message.toStdString();
    EXPECT_FALSE(QFile::exists(QStringLiteral("never-written.cvn")));
    EXPECT_TRUE(writtenTags().isEmpty());
}

TEST_F(SessionTest, ChangedParametersAreWrittenInTagOrderAndACanceledOneIsNot)
{
    open();
    session.setFields({{FieldId::Ws2801Clock, 5}, {FieldId::BrightnessPercent, 150}, {FieldId::StartupRed, 1}});
    session.setFields({{FieldId::StartupRed, 0x20}}); // back to what the controller holds
    QList<TCfgData> written;
    ASSERT_TRUE(session.writeChanged(session.ticket(), &written).ok());
    EXPECT_EQ(writtenTags(), (QStringList{"BRIG", "4CFG"}));
    EXPECT_EQ(written.size(), 2);
    EXPECT_FALSE(session.changed());
    EXPECT_EQ(unit->firmware().param("BRIG"), 150u);
}

TEST_F(SessionTest, RefusedWriteStopsThereAndKeepsWhatWasWritten)
{
    open();
    unit->faults().writeStatus.insert("BRIG", 0xC3);
    session.setFields({{FieldId::LedProtocol, 1}, {FieldId::BrightnessPercent, 150}, {FieldId::Ws2801Clock, 5}});
    const SessionResult r = session.writeChanged(session.ticket());
    EXPECT_EQ(r.message, QStringLiteral("Error writing Config = 0x80C3 (Wrong Crypt Code): BRIG"));
    EXPECT_EQ(writtenTags(), (QStringList{"LPRO", "BRIG"}));
    unit->faults().writeStatus.clear();
    unit->clearReceived();
    ASSERT_TRUE(session.writeChanged(session.ticket()).ok());
    EXPECT_EQ(writtenTags(), (QStringList{"BRIG", "4CFG"})) << "LPRO is the controller's already";
}

TEST_F(SessionTest, AnotherProgramsFieldOfTheSameWordIsKept)
{
    open();
    session.setFields({{FieldId::StartupRed, 10}});
    // Another program sets green meanwhile; red was ours to change.
    unit->firmware().setParam("STUP", 0x32207720);
    ASSERT_TRUE(session.writeChanged(session.ticket()).ok());
    EXPECT_EQ(unit->firmware().param("STUP"), 0x3220770Au);
    EXPECT_EQ(word(T::STUP), 0x3220770Au);
    EXPECT_FALSE(session.changed());
}

TEST_F(SessionTest, TicketOfAControllerThatCameBackWritesNothing)
{
    open();
    const SessionTicket ticket = session.ticket();
    session.setFields({{FieldId::BrightnessPercent, 150}});
    bus.unplug(unit);
    bus.plug(unit); // the same serial number, a new device
    QCoreApplication::processEvents();
    const SessionResult r = session.writeChanged(ticket);
    EXPECT_EQ(r.message, QStringLiteral("Error writing Config = 0xE000 (Communication Error)"));
    EXPECT_FALSE(session.holds(ticket));
    EXPECT_TRUE(unit->received().isEmpty());
    EXPECT_EQ(unit->firmware().param("BRIG"), 100u);
    EXPECT_TRUE(session.changed()) << "the edit is still there to send";
}

TEST_F(SessionTest, ControllerHeldByAnotherProgramIsNotTouched)
{
    open();
    QString error;
    auto other = ControllerLock::acquire(QStringLiteral("SIM0001"), 0, &error);
    ASSERT_TRUE(other);
    session.setFields({{FieldId::BrightnessPercent, 150}});
    const SessionResult r = session.writeChanged(session.ticket());
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("CORVANE SIM0001 is in use by "))) << r.message.toStdString();
    EXPECT_TRUE(unit->received().isEmpty());
    other.reset();
    EXPECT_TRUE(session.writeChanged(session.ticket()).ok());
}

namespace {

ParsedProfile profileOf(const QByteArray &parameters)
{
    return ProfileFile::readProfile("[GLOBAL]\nID=" + QByteArray::number(int32_t(SimControllerModel::sane(1).bios.SysId))
                                    + "\n[PARAMETER]\n" + parameters);
}

} // namespace

TEST_F(SessionTest, ProfileIsCheckedWholeBeforeAnyWrite)
{
    const struct {
        QByteArray parameters;
        QString message;
    } cases[] = {
        {"BRIG=150\nCPRO=1\n6CFG=99999\n", QStringLiteral("Not applied: 6CFG=99999 in the file does not fit: lpd8803.clock takes one of")},
        {"BRIG=150\nSCFG=525312\n", QStringLiteral("Too many LEDs in stripe config (max. 4096)")},
    };
    open();
    for (const auto &c : cases) {
        const SessionResult r = session.applyProfile(profileOf(c.parameters), session.ticket());
        EXPECT_TRUE(r.message.startsWith(c.message)) << r.message.toStdString();
        EXPECT_TRUE(writtenTags().isEmpty());
        EXPECT_FALSE(session.changed());
    }
}

TEST_F(SessionTest, ProfileWritesWhatDiffersNeverTheCapacityAndReadsEverythingBack)
{
    open();
    QSignalSpy loads(&session, &ControllerSession::loadFinished);
    ProfileApplied applied;
    const SessionResult r = session.applyProfile(profileOf("LMAX=1\nBRIG=150\ncpro=1\nXXXX=1\n"), session.ticket(), &applied);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(writtenTags(), QStringList{"BRIG"});
    EXPECT_EQ(loads.count(), 1);
    EXPECT_EQ(word(T::LMAX), 4096u);
    EXPECT_TRUE(applied.reached);
}

TEST_F(SessionTest, ProfileWhoseWriteIsRefusedStillReadsBack)
{
    open();
    unit->faults().writeStatus.insert("BRIG", 0xC4);
    session.setFields({{FieldId::StartupRed, 1}}); // an edit not yet sent goes too
    const SessionResult r = session.applyProfile(profileOf("BRIG=150\n"), session.ticket());
    EXPECT_EQ(r.message, QStringLiteral("Error writing Config = 0x80C4 (Illegal Value/Range): BRIG"));
    EXPECT_TRUE(session.loaded());
    EXPECT_EQ(word(T::BRIG), 100u);
    EXPECT_EQ(word(T::STUP), 0x32202001u);
}

TEST_F(SessionTest, ResetReadsTheDefaultsBack)
{
    open();
    unit->firmware().setParam("BRIG", 7);
    ASSERT_TRUE(session.resetDefaults(session.ticket()).ok());
    EXPECT_TRUE(session.loaded());
    EXPECT_EQ(word(T::BRIG), 100u);
}

TEST_F(SessionTest, ArrivalsAndDeparturesAreSignalled)
{
    QSignalSpy arrived(&session, &ControllerSession::controllerArrived);
    QSignalSpy left(&session, &ControllerSession::controllerLeft);
    SimUnit *first = plug(SimControllerModel::sane(1));
    SimUnit *second = plug(SimControllerModel::sane(2));
    bus.unplug(first);
    QCoreApplication::processEvents();
    ASSERT_EQ(arrived.count(), 2);
    EXPECT_EQ(arrived.at(1), (QVariantList{QStringLiteral("SIM0002"), 1}));
    ASSERT_EQ(left.count(), 1);
    EXPECT_EQ(left.at(0).at(0), QStringLiteral("SIM0001"));
    EXPECT_EQ(session.controllers().size(), 1);

    // Out and back in before the bus is looked at again: the same serial,
    // but a new device, so it left and arrived.
    bus.unplug(second);
    bus.plug(second);
    QCoreApplication::processEvents();
    ASSERT_EQ(left.count(), 2);
    EXPECT_EQ(left.at(1).at(0), QStringLiteral("SIM0002"));
    ASSERT_EQ(arrived.count(), 3);
    EXPECT_EQ(arrived.at(2), (QVariantList{QStringLiteral("SIM0002"), 0}));
}
