#include "CliRunner.h"

#include <QProcess>
#include <QStringList>

#ifndef VELLORA_CLI_PATH
#define VELLORA_CLI_PATH "vellora-cli"
#endif

CliResult RunCli(const std::vector<std::string>& args)
{
    QStringList list;
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    QProcess process;
    process.start(QStringLiteral(VELLORA_CLI_PATH), list);
    CliResult result;
    if (!process.waitForFinished(120000))
        return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}
