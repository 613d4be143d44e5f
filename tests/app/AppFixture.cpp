#include "AppFixture.h"

#include "Cp1252.h"
#include "Messages.h"
#include "SelvarProgram.h"

#include <QFile>

namespace {

void restoreEnv(const char *name, const QByteArray &previous)
{
    if (previous.isNull())
        qunsetenv(name);
    else
        qputenv(name, previous);
}

QByteArray envOrNull(const char *name)
{
    return qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray();
}

} // namespace

AppFixture::AppFixture() : m_previousUser(envOrNull("SELVAR_USER")), m_previousExeFolder(envOrNull("SELVAR_EXE_FOLDER"))
{
    qputenv("SELVAR_EXE_FOLDER", suite.root().toLocal8Bit());
    Messages::setSink([this](const QString &text) { messages << text; });
    m_previousQuestionSink = Messages::setQuestionSink([this](const QString &text) {
        questions << text;
        return answerYes;
    });
}

AppFixture::~AppFixture()
{
    m_program.reset();
    Messages::setSink([](const QString &) {});
    Messages::setQuestionSink(std::move(m_previousQuestionSink));
    restoreEnv("SELVAR_USER", m_previousUser);
    restoreEnv("SELVAR_EXE_FOLDER", m_previousExeFolder);
}

QString AppFixture::iniLine(const QString &key, const QString &value)
{
    return (key.leftJustified(47, QLatin1Char('.')) + QLatin1Char(':')).leftJustified(48) + QLatin1Char(' ') + value;
}

void AppFixture::writeIni(const QStringList &lines)
{
    QFile file(suite.path(QStringLiteral("BOTICON.INI")));
    if (file.open(QIODevice::WriteOnly))
        for (const QString &line : lines)
            file.write(toCp1252(line) + "\r\n");
}

void AppFixture::writeStandardIni(int screenColor)
{
    writeIni({iniLine(QStringLiteral("IP DO SERVIDOR CENTRAL"), QString()),
              iniLine(QStringLiteral("LOG ATIVADO"), QStringLiteral("N")),
              iniLine(QStringLiteral("COR DE FUNDO DAS TELAS"), QString::number(screenColor))});
}

void AppFixture::setUser(const QString &name)
{
    qputenv("SELVAR_USER", name.toUtf8());
}

void AppFixture::addStation(const QString &estacao, const QString &usuario, const QString &datbasnam, const QString &rotulo1)
{
    suite.exec(QStringLiteral("insert into ESTACOES (ESTACAO, DATBASNAM, ROTULO1, USUARIO) values (?, ?, ?, ?)"),
               {estacao, datbasnam.isEmpty() ? QVariant() : QVariant(datbasnam), rotulo1, usuario});
}

bool AppFixture::start()
{
    m_program = std::make_unique<SelvarProgram>();
    return m_program->start();
}
