#pragma once

#include "TDM.h"
#include "TestSuite.h"

#include <memory>

// A suite folder of the test's own with its main database, and the data
// module opened on it as the program opens it on one workstation.
struct JobDatabase
{
    TestSuite suite;
    std::unique_ptr<TDM> dm;

    bool create()
    {
        if (!suite.createMainDatabase())
            return false;
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
        return true;
    }

    // The data module goes first: its connections are to the suite's database.
    ~JobDatabase() { dm.reset(); }
};
