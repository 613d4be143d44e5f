#pragma once

#include "Messages.h"
#include "TestSuite.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

class SelvarProgram;

// A suite folder with its main database, the INI file in the executable's folder
// and a recorder in place of the message box: what the program needs to start
// as it does on a workstation, inside one test.
class AppFixture
{
public:
    AppFixture();
    ~AppFixture();

    TestSuite suite;
    QStringList messages;
    QStringList questions; // asked with "Sim" and "Não", answered with answerYes
    bool answerYes = true;

    // INI lines are written with CR LF in Windows-1252; the key is padded to 48 characters.
    static QString iniLine(const QString &key, const QString &value);
    void writeIni(const QStringList &lines);
    void writeStandardIni(int screenColor = 255);

    void setUser(const QString &name);
    void addStation(const QString &estacao, const QString &usuario, const QString &datbasnam = QStringLiteral("C:\\boticon\\interfac01\\boticon.bd"),
                    const QString &rotulo1 = QStringLiteral("/dev/null"));

    // Runs the program's start-up; the program stays alive until the fixture ends.
    bool start();
    SelvarProgram &program() { return *m_program; }

private:
    std::unique_ptr<SelvarProgram> m_program;
    QByteArray m_previousUser;
    QByteArray m_previousExeFolder;
    Messages::QuestionSink m_previousQuestionSink;
};
