#pragma once

// A port's task, awaited where the caller is no coroutine: the event loop
// runs until the task has its value.

#include <QEventLoop>

#include <qcoro/qcorotask.h>

#include <optional>

namespace awaiting {

template <typename T>
QCoro::Task<> deliver(QCoro::Task<T> task, std::optional<T>& result, QEventLoop& loop)
{
    T value = co_await task;
    result.emplace(std::move(value));
    loop.quit();
}

} // namespace awaiting

// Unlike QCoro::waitFor, for values without a default (StatusOr).
template <typename T>
T awaited(QCoro::Task<T> task)
{
    std::optional<T> result;
    QEventLoop loop;
    QCoro::Task<> delivering = awaiting::deliver(std::move(task), result, loop);
    if (!result)
        loop.exec();
    return std::move(*result);
}
