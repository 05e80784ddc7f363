#pragma once

// A fresh world and a started model over it for each test function: a test
// class derives from this and calls begin() from init() and end() from
// cleanup().

#include "tests/support/TestSupport.h"

#include <QTest>

class StartedModel {
protected:
    void begin()
    {
        world = std::make_unique<TestWorld>();
        model = world->makeModel();
        model->start();
    }
    void end()
    {
        model.reset();
        world.reset();
    }
    // The index on disk says what the model holds.
    void verifySaved() { QCOMPARE(Persistence(world->support()).loadIndex().value, model->files()); }
    QString inbox() const { return world->folders().inbox(); }

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<AppModel> model;
};
