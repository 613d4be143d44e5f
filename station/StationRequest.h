#pragma once

#include <QString>

// What an installer asks for one counter: where the suite lives, which station
// and user, where its thermal printer is, and optionally a CUPS raw queue.
struct StationRequest {
    QString suiteFolder;   // native path of the suite folder (the program's ExeFolder)
    QString stationCode;   // two characters: names InterfacNN and the ESTACOES row
    QString userName;      // the user's login name, as ESTACOES.USUARIO
    QString printerPath;   // ROTULO1: a device, a file or a CUPS queue name
    QString database;      // DataBase text: "server:C:\boticon\dados\boticon.bd" or ":..." (embedded)
    QString cupsQueue;     // --cups-raw-queue; empty: no queue is made
    QString deviceUri;     // --device-uri of that queue
    bool dryRun = false;

    // The suite folder as the program composes with it, with its final separator.
    QString suiteFolderText() const;
    // <suite>/InterfacNN, where the program writes its label files.
    QString workFolder() const;
};

// The suite cuts the program's folder text at 60 characters; a longer one
// would leave the program looking for BOTICON.INI in a folder that is not there.
inline constexpr int SuiteFolderLimit = 60;

// Why the request cannot be carried out as given, in Portuguese; empty when it can.
// Looks at the request alone (and whether lpadmin is at hand), never at the database.
QString requestRefusal(const StationRequest &request);
