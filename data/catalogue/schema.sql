-- Catalogue database: device types, lookup tables, towns, holidays and the
-- IR remotes directory. The program reads tables and columns by these names,
-- so any SQLite file with this schema serves as a catalogue.
--
-- Lookup ids (intypeid, korpusid, ...) are deliberately not declared as
-- foreign keys: a catalogue entry whose lookup row is missing is simply not
-- offered, and editing the lookup tables must not fail because of it.

-- Input configuration names ("conf" of a device), e.g. "8AC.8DC".
CREATE TABLE ZinType (
    nmbr INTEGER PRIMARY KEY,
    name TEXT NOT NULL
);

-- Case types.
CREATE TABLE Zkorpus (
    nmbr INTEGER PRIMARY KEY,
    name TEXT NOT NULL
);

-- Power supply types.
CREATE TABLE ZPitanie (
    nmbr INTEGER PRIMARY KEY,
    name TEXT NOT NULL
);

-- Output configuration names.
CREATE TABLE ZOutType (
    nmbr INTEGER PRIMARY KEY,
    name TEXT NOT NULL
);

-- Device family types; the IR transceiver's family is named "ir".
CREATE TABLE ZvornakelType (
    nmbr INTEGER PRIMARY KEY,
    name TEXT NOT NULL
);

-- Device types by catalogue number. Visible = 1: offered for new devices.
CREATE TABLE Devvornakel (
    cat_num   INTEGER PRIMARY KEY,
    name      TEXT    NOT NULL,
    ins       INTEGER NOT NULL DEFAULT 0,
    outs      INTEGER NOT NULL DEFAULT 0,
    intypeid  INTEGER,
    pitanieid INTEGER,
    korpusid  INTEGER,
    outtypeID INTEGER,
    typeID    INTEGER,
    Visible   INTEGER NOT NULL DEFAULT 1
);

-- Input (button) types; val is the code a device configuration stores,
-- idname a short name other code looks rows up by (e.g. 'an').
CREATE TABLE zbuttype (
    nmbr   INTEGER PRIMARY KEY,
    name   TEXT    NOT NULL,
    val    INTEGER NOT NULL,
    idname TEXT    NOT NULL
);

-- Which button types an input configuration allows.
CREATE TABLE butinConnection (
    zbutid INTEGER NOT NULL,
    zinid  INTEGER NOT NULL,
    PRIMARY KEY (zbutid, zinid)
);

-- Towns of the clock settings; latitude and longitude in whole degrees
-- (longitude east), as the sunrise computation reads them.
CREATE TABLE towns (
    nmbr INTEGER PRIMARY KEY,
    town TEXT    NOT NULL,
    wide INTEGER NOT NULL,
    lon  INTEGER NOT NULL
);

-- Holidays; dates as ISO text (YYYY-MM-DD) so that they compare and sort
-- as dates.
CREATE TABLE Holidays (
    nmbr  INTEGER PRIMARY KEY,
    date  TEXT NOT NULL,
    Descr TEXT
);

-- IR protocols. ProtocolID 255 stands for "no known protocol" (a button
-- with a recorded signal only); it must exist, because button lists join
-- on the protocol and would otherwise drop such buttons.
CREATE TABLE IRProtocolZ (
    ProtocolID INTEGER PRIMARY KEY,
    Name       TEXT NOT NULL,
    Descr      TEXT
);

-- IR remotes directory; ids are given by the database on insert.
CREATE TABLE IRRemote (
    IRRemoteID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name       TEXT NOT NULL,
    Descr      TEXT
);

-- Buttons of the remotes with their learnt codes; Signal is the recorded
-- signal as two hexadecimal digits per byte, without separators (0AFF03).
CREATE TABLE IRRemoteButton (
    IRRemoteButtonID INTEGER PRIMARY KEY AUTOINCREMENT,
    IRRemoteID       INTEGER NOT NULL,
    Name             TEXT    NOT NULL,
    Descr            TEXT,
    ProtocolID       INTEGER NOT NULL DEFAULT 255,
    Addr             INTEGER,
    Code             INTEGER,
    Signal           TEXT
);
CREATE INDEX IRRemoteButtonByRemote ON IRRemoteButton (IRRemoteID);
