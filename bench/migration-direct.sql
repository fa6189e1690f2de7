-- The upgrade as an expert writes it for speed: the upgraded catalogue is
-- built straight into a new, empty file, from the old one attached, with no
-- journal and no syncs; bench/migration-direct.sh then syncs it once and
-- renames it over the old file. Nothing is rebuilt in place, and no page is
-- written twice (compare bench/migration.sql, the classic way).
--   sqlite3 -cmd ".parameter set :old 'katalog.mdb'" nowy.mdb <bench/migration-direct.sql
-- run in a scratch folder: it writes its generated statements to
-- direct-tables.sql and direct-after.sql there.
-- Films and loans as in bench/migration.sql, with the same conversions; every
-- other table is copied whole, each row under its own rowid as compaction
-- keeps it, its indexes made after its rows; then the views and triggers from
-- their own text. Hidden columns (MSysDeleted...) of other tables are copied
-- as they are, where the runner's compaction drops them.
.bail on
.headers off
.mode list
PRAGMA main.journal_mode = OFF;
PRAGMA main.synchronous = OFF;
ATTACH :old AS old;

-- The other tables, their rows and then their indexes, in the old file's
-- order; the file's page size and version numbers come first, before anything
-- is written.
.once direct-tables.sql
SELECT 'PRAGMA main.page_size = ' || page_size || ';' FROM old.pragma_page_size
UNION ALL SELECT 'PRAGMA main.user_version = ' || user_version || ';' FROM old.pragma_user_version
UNION ALL SELECT 'PRAGMA main.application_id = ' || application_id || ';' FROM old.pragma_application_id
UNION ALL SELECT 'BEGIN;'
UNION ALL SELECT statement FROM (
  SELECT 1 AS step, rowid AS position, sql || ';' AS statement FROM old.sqlite_schema
  WHERE type = 'table' AND name NOT LIKE 'sqlite\_%' ESCAPE '\'
    AND name COLLATE NOCASE NOT IN ('FILMY', 'WYPOZYCZ')
  UNION ALL
  SELECT 2, rowid, CASE WHEN sql LIKE '%WITHOUT%ROWID%'
    THEN printf('INSERT INTO main."%w" SELECT * FROM old."%w";', name, name)
    ELSE printf('INSERT INTO main."%w"(rowid, %s) SELECT rowid, %s FROM old."%w";', name, columns, columns, name)
    END
  FROM (SELECT rowid, name, sql, (SELECT group_concat(printf('"%w"', c.name), ', ')
                                  FROM pragma_table_info(t.name, 'old') AS c) AS columns
        FROM old.sqlite_schema AS t
        WHERE type = 'table' AND name NOT LIKE 'sqlite\_%' ESCAPE '\'
          AND name COLLATE NOCASE NOT IN ('FILMY', 'WYPOZYCZ'))
  UNION ALL
  SELECT 3, rowid, sql || ';' FROM old.sqlite_schema
  WHERE type = 'index' AND sql IS NOT NULL AND tbl_name COLLATE NOCASE NOT IN ('FILMY', 'WYPOZYCZ')
  ORDER BY step, position);

-- The views and triggers, in their order, once every table is in; and the
-- AUTOINCREMENT counters where the old file keeps any.
.once direct-after.sql
SELECT statement FROM (
  SELECT rowid AS position, sql || ';' AS statement FROM old.sqlite_schema
  WHERE type IN ('view', 'trigger') AND sql IS NOT NULL
  UNION ALL
  SELECT 1e18, 'DELETE FROM main.sqlite_sequence; INSERT INTO main.sqlite_sequence SELECT * FROM old.sqlite_sequence'
    || ' WHERE name COLLATE NOCASE NOT IN (''FILMY'', ''WYPOZYCZ'');'
  WHERE EXISTS (SELECT 1 FROM old.sqlite_schema WHERE type = 'table' AND sql LIKE '%AUTOINCREMENT%'
                  AND name COLLATE NOCASE NOT IN ('FILMY', 'WYPOZYCZ'))
  ORDER BY position);

.read direct-tables.sql

CREATE TABLE "FILMY" ("FILM_ID" LONG, "T_ORG" TEXT(150), "T_PL" TEXT(150), "GATUNEK" TEXT(100),
  "ROK_PROD" LONG, "KRAJ" TEXT(100), "REZYSER" TEXT(254), "SCENARIU" TEXT(254), "ZDJECIA" TEXT(254),
  "AKTORZY" MEMO, "MUZYKA" TEXT(254), "ILOSC_CD" LONG, "ROZMIAR" TEXT(254), "CVIDEO" TEXT(150),
  "ROZDZIEL" TEXT(20), "FPS" TEXT(20), "CZAS" TEXT(10), "VBITRATE" TEXT(20), "CAUDIO" TEXT(150),
  "SAMPLE_R" TEXT(20), "ABITRATE" TEXT(20), "KANALY" TEXT(50), "UWAGI" TEXT(254), "TLUMACZ" TEXT(50),
  "OPIS" MEMO, "DATA_DOD" DATETIME, "OBEJRZAN" BIT NOT NULL DEFAULT 0, "OCENA" TEXT(5), "OKLADKA" TEXT(3),
  "FOTO" TEXT(255), "JEST" LONG, "AKA" MEMO, "SUBTYPE" TEXT(50), "LOCATION" TEXT(100), "VideoDVD" MEMO,
  "AudioDVD" MEMO, "LangSubTitles" MEMO, "ID_CD" LONG, "SER_ID" LONG, "T_ORG_S" TEXT(150),
  "T_PL_S" TEXT(150), "SERIA" LONG, "ODCINEK" LONG, "URL" TEXT(250));

INSERT INTO "FILMY"
SELECT "ID_CD", "T_ORG", "T_PL", "GATUNEK", "ROK_PROD", "KRAJ", "REZYSER", "SCENARIU", "ZDJECIA",
       "AKTORZY", "MUZYKA", "ILOSC_CD", "ROZMIAR", "CVIDEO", "ROZDZIEL", "FPS", "CZAS", "VBITRATE",
       "CAUDIO", "SAMPLE_R", "ABITRATE", "KANALY", "UWAGI", "TLUMACZ", "OPIS", "DATA_DOD",
       IFNULL("OBEJRZAN", 0), CAST("OCENA" AS TEXT), "OKLADKA", "FOTO",
       CASE WHEN "JEST" = 1 THEN 0 ELSE 1 END,
       "AKA", "SUBTYPE", "LOCATION", "VideoDVD", "AudioDVD", "LangSubTitles",
       IFNULL("ID_CD", 0), NULL, NULL, NULL, NULL, NULL, NULL
FROM old."FILMY" ORDER BY rowid;

CREATE TABLE "WYPOZYCZ" ("FILM_ID" LONG, "ID_OSOBY" LONG, "DATA_W" DATETIME, "DATA_Z" DATETIME,
  "KASUJ" BIT NOT NULL DEFAULT 0, "ID_CD" LONG);

INSERT INTO "WYPOZYCZ"
SELECT "FILM_ID", "ID_OSOBY", "DATA_W", "DATA_Z", IFNULL("KASUJ", 0), IFNULL("FILM_ID", 0)
FROM old."WYPOZYCZ" ORDER BY rowid;

CREATE INDEX "FILMY.FILM_ID" ON "FILMY"("FILM_ID");
CREATE INDEX "FILMY.T_ORG" ON "FILMY"("T_ORG");
CREATE INDEX "FILMY.T_PL" ON "FILMY"("T_PL");
CREATE INDEX "FILMY.GATUNEK" ON "FILMY"("GATUNEK");
CREATE INDEX "FILMY.ID_CD" ON "FILMY"("ID_CD");
CREATE INDEX "FILMY.SER_ID" ON "FILMY"("SER_ID");
CREATE INDEX "FILMY.T_ORG_S" ON "FILMY"("T_ORG_S");
CREATE INDEX "FILMY.T_PL_S" ON "FILMY"("T_PL_S");
CREATE INDEX "FILMY.SERIA" ON "FILMY"("SERIA");
CREATE INDEX "FILMY.ODCINEK" ON "FILMY"("ODCINEK");
CREATE INDEX "WYPOZYCZ.FILM_ID" ON "WYPOZYCZ"("FILM_ID");
CREATE INDEX "WYPOZYCZ.ID_OSOBY" ON "WYPOZYCZ"("ID_OSOBY");
CREATE INDEX "WYPOZYCZ.DATA_W" ON "WYPOZYCZ"("DATA_W");
CREATE INDEX "WYPOZYCZ.DATA_Z" ON "WYPOZYCZ"("DATA_Z");
CREATE INDEX "WYPOZYCZ.ID_CD" ON "WYPOZYCZ"("ID_CD");

-- The engine's field properties: the new fields allow empty texts, the
-- numeric, date and Yes/No fields none; the old primary index is gone.
CREATE TABLE IF NOT EXISTS "MSysFields"(TableName TEXT NOT NULL, FieldName TEXT NOT NULL,
  Required INTEGER NOT NULL DEFAULT 0, AllowZeroLength INTEGER NOT NULL DEFAULT 1);
DELETE FROM "MSysFields" WHERE TableName COLLATE NOCASE IN ('FILMY', 'WYPOZYCZ');
INSERT INTO "MSysFields"
SELECT 'FILMY', name, 0, CASE WHEN type LIKE 'TEXT%' OR type = 'MEMO' THEN 1 ELSE 0 END
FROM pragma_table_info('FILMY', 'main') ORDER BY cid;
INSERT INTO "MSysFields"
SELECT 'WYPOZYCZ', name, 0, 0 FROM pragma_table_info('WYPOZYCZ', 'main') ORDER BY cid;
CREATE TABLE IF NOT EXISTS "MSysIndexes"(TableName TEXT NOT NULL, IndexName TEXT NOT NULL);
DELETE FROM "MSysIndexes" WHERE TableName COLLATE NOCASE IN ('FILMY', 'WYPOZYCZ');

.read direct-after.sql
COMMIT;
