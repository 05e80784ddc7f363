#pragma once

// Dropwell's capture service on the real X11 desktop over a test world of
// its own: made afresh by the test's init() and dropped by its cleanup().

#include "model/AppModel.h"
#include "tests/support/RealCaptureDesk.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QImage>

#include <memory>

struct RealCaptureRun {
    void makeService()
    {
        world = std::make_unique<TestWorld>();
        model = world->makeModel();
        service = desk.service(*model, *world->defaults);
    }
    void dropService()
    {
        service.reset();
        model.reset();
        world.reset();
    }
    // The picture the capture wrote; null unless it wrote exactly one.
    QImage writtenPng() const
    {
        const QStringList names = QDir(world->folders().inbox()).entryList({QStringLiteral("*.png")}, QDir::Files);
        return names.size() == 1 ? QImage(world->folders().inbox() + QLatin1Char('/') + names.front()) : QImage();
    }

    RealCaptureDesk desk;
    std::unique_ptr<TestWorld> world;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<CaptureService> service;
};
