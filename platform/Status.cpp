#include "platform/Status.h"

#include <cstring>

Status Status::fromErrno(int code, const QString& path)
{
    return failure(code, path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code)));
}
