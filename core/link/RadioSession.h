// One radio session at a time on one serial port: the program command, the identity and model check,
// the block reads and writes, the end command, with a reply wait and up to three transmissions per
// frame. Owns its serial control MSComm1, its reply timer WaitTimer, its record and its image; any
// number of sessions can run at once, each on its own port.
//
// The owner starts a read or a write and hears the end through finished(); a read also hands over
// the record and the image through recordRead() just before. A write asks the owner once, through
// the WriteFieldsQuestion, for the fields to write; the owner may show its own message boxes then,
// while the reply timer is stopped and no reply is awaited.
#pragma once

#include "data/AnsiCodePage.h"
#include "data/ModData.h"
#include "link/LinkTrace.h"
#include "link/SerialControl.h"
#include "link/SessionTypes.h"
#include "settings/BackupFolder.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>

inline constexpr char LinkSettings[] = "115200,N,8,1";

class RadioSession : public QObject
{
    Q_OBJECT
public:
    // The radio's record as the session has it (Model: the window's type, BandIndex: the radio's band
    // byte) and the radio's image with its blocks 0 to 4 just read.
    using WriteFieldsQuestion = std::function<WriteDecision(const RadioInfoRecord&, const InfoImageType&)>;
    // Keeps the image a write has just read (blocks 0 to 4) and the radio's record; returns the file
    // it went to, or why it could not be kept.
    using BackupWriter = std::function<BackupFileResult(const RadioInfoRecord&, const InfoImageType&)>;

    explicit RadioSession(QObject* parent = nullptr, LinkTimings timings = {});
    ~RadioSession() override;

    void SetTimings(LinkTimings value) { timings = value; }
    LinkTimings Timings() const { return timings; }
    void SetCodePage(const AnsiCodePage& page) { codePage = page; }
    // Port number to device path; the serial control's own discovery when not set.
    void SetPortResolver(SerialControl::PortResolver resolver);
    // Asked once per write; without one a write goes on with the record as it is.
    void SetWriteFieldsQuestion(WriteFieldsQuestion question) { askWriteFields = std::move(question); }
    // Every write that the owner lets go on first hands the image it read to the writer, before any
    // block goes out. A failure is traced; with `required` it also refuses the write.
    void SetBackupWriter(BackupWriter writer, bool required)
    {
        writeBackup = std::move(writer);
        backupRequired = required;
    }

    // A press of Read or Write. A session still running is abandoned.
    void startRead(int16_t portNumber);
    void startWrite(int16_t portNumber, const QString& radioTypeText);
    // The owner goes away: the port closes and the session ends without a report.
    void Abandon();
    // A check of the link (LinkCheck.cpp), a sequence of its own: the program command, the identity
    // request and the end command, and no block read or written. The identity it got and whether the
    // end command was answered are asked for afterwards. It fails where the port goes away, or where
    // the line carried anything but silence after the end command.
    void startCheck(int16_t portNumber);
    QString CheckedIdentity() const { return RadioIdentity; }
    int16_t CheckedBand() const { return radioInfo.BandIndex; }
    bool EndAnswered() const { return endAnswered; }
    // Where the port number came from, for the words when it names no device.
    void SetPortSource(PortSource source) { MSComm1.Source = source; }

    // The record the session starts from; a read keeps its Model and Version apart from the image's.
    void SetRadioInfo(const RadioInfoRecord& record) { radioInfo = record; }
    const RadioInfoRecord& RadioInfo() const { return radioInfo; }
    const InfoImageType& InfoImage() const { return infoImage; }
    SessionMode Mode() const { return sessionMode; }
    SessionStep Step() const { return sessionStep; }
    bool Awaiting() const { return AwaitingReply; }
    const LinkTrace& Trace() const { return trace; }

    SerialControl MSComm1;
    QTimer WaitTimer;

signals:
    void recordRead(const RadioInfoRecord& record, const InfoImageType& image);
    void finished(const SessionOutcome& outcome);
    // A frame went out (try 1) or out again (up to FrameTries), and its reply wait of `wait` runs.
    // A frame held back sends nothing and tells nothing.
    void trySent(const QByteArray& frame, int16_t tryNumber, std::chrono::milliseconds wait);

private:
    // Transmission layer.
    void SendFrame(int16_t replyLength, const QByteArray& frame, bool longWait);
    bool ResendFrame();
    void Transmit();
    void KeepReceived(const QByteArray& bytes);
    void JudgeLine();
    void TellTry();
    // Session steps.
    void StartSession(SessionMode mode, int16_t portNumber);
    void NextStep(SessionStep step);
    void NextStep() { NextStep(sessionStep); }
    void CollectWriteFields();
    bool BackUp(const RadioInfoRecord& record);
    void RefuseWrite();
    void ReadBack();
    void CheckReadBack(const QByteArray& reply);
    void ReadBackDone();
    void FinishTransfer();
    void FinishSession(bool ok);
    void CompleteRead();
    void CompleteWrite();
    // The check's own steps and endings (LinkCheck.cpp).
    void CheckStep();
    void CheckUnanswered();
    void CompleteCheck();
    bool CheckModel();
    void PortLost();
    void Report(SessionResult result, SessionMode mode);
    // Events.
    void MSComm1_OnComm();
    void WaitTimer_Timer();
    // Port.
    bool OpenPort(int16_t portNumber);
    void ClosePort();
    // Frame builders: each hands its frame to SendFrame through Send, which also tells of the try.
    void Send(int16_t replyLength, const QByteArray& frame, bool longWait);
    void SendProgramCommand();
    void SendIdentRequest();
    void ReadBlock(int32_t address);  // -1: next block in sequence
    void WriteBlock(int32_t address); // -1: next block in sequence
    void SendEnd();
    bool NextAddress(int32_t& address, int32_t limit, uint8_t blocks = 0xFF);

    LinkTimings timings;
    AnsiCodePage codePage;
    WriteFieldsQuestion askWriteFields;
    BackupWriter writeBackup;
    bool backupRequired = false;
    LinkTrace trace;

    // Transmission state.
    int16_t RetryCount = 0;
    int16_t ReplyLength = 0;
    QByteArray LastFrame;
    bool AwaitingReply = false;
    QList<QByteArray> tryBytes; // what each transmission of LastFrame got back, reply or not
    QList<LineTry> lineCarried; // what each try of the failed frame got back

    // Session state.
    SessionMode sessionMode = SessionMode::None;
    SessionStep sessionStep = SessionStep::Idle;
    int32_t BlockAddress = -32;
    bool SendHalted = false;
    bool refused = false;     // the owner refused the write; its failure is reported as such
    bool modelError = false;  // the model check failed; its failure is reported as such
    bool portLost = false;    // the port went away; its failure says so
    bool endAnswered = false; // a check: the radio acknowledged the end command
    // The write's verification: the blocks that this pass of block writes and its read-back cover (bit
    // n: block n), those of them that read back otherwise, how often such blocks were written again,
    // the blocks as the radio last gave them back, and the blocks it never took.
    uint8_t passBlocks = 0;
    uint8_t differingBlocks = 0;
    int16_t rewriteRound = 0;
    InfoImageType readBackImage{};
    uint8_t notTakenBlocks = 0;
    QString backupPath; // this write's automatic backup, when one was saved
    QString refusal;    // why the write was refused, when not by the owner
    QString RadioIdentity;
    int16_t comPort = 0;
    QString openFailure;

    RadioInfoRecord radioInfo;
    InfoImageType infoImage{};
};
