#include "screens/WriteFailure.h"

#include "platform/Errors.h"
#include "platform/Text.h"
#include "screens/DataIndexes.h"
#include "screens/SkinService.h"

#include <QFile>

#include <cerrno>

WriteProblem ClassifyWriteProblem(int systemError)
{
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return WriteProblem::DiscFull;
    case EROFS:
    case EACCES:
    case EPERM: return WriteProblem::FolderNotWritable;
    default: return WriteProblem::Other;
    }
}

QString WriteFailureText(const std::string& file, int systemError, const std::string& message)
{
    const QString name = DoubleAmpersands(QFile::decodeName(file.c_str()));
    switch (ClassifyWriteProblem(systemError)) {
    case WriteProblem::DiscFull: return HelpText(Help::WriteDiscFull) + "\n" + name;
    case WriteProblem::FolderNotWritable: return HelpText(Help::WriteFolderLocked) + "\n" + name;
    case WriteProblem::Other: break;
    }
    return HelpText(Help::WriteFailed) + "\n" + name + "\n" + DoubleAmpersands(ToDisplay(message));
}

QString WriteFailureText(const std::exception& error, const std::string& fallbackFile)
{
    if (const auto* stream = dynamic_cast<const EStreamError*>(&error)) {
        const std::string& file = stream->GetFile().empty() ? fallbackFile : stream->GetFile();
        return WriteFailureText(file, stream->GetSystemError(), error.what());
    }
    return WriteFailureText(fallbackFile, 0, error.what());
}
