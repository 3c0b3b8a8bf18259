-- The settings database shipped beside Vornhalt.exe and copied to the user's
-- application-data folder at the first start. The program creates no tables:
-- these definitions are the whole of its structure. Declared types decide how
-- the access layer reads a column: TEXT reads as text, INTEGER as a number.

-- Option values, one row per key, all as text.
CREATE TABLE settings(
  name TEXT,
  value TEXT
);

-- The three reminder texts ("morning", "afternoon", "evening").
CREATE TABLE reminders(
  text TEXT,
  reminder_type TEXT
);

-- The time-limit list: applications by executable path, web sites by address.
CREATE TABLE applications_list(
  name TEXT,
  caption TEXT,
  active INTEGER
);

CREATE TABLE websites_list(
  name TEXT,
  caption TEXT,
  active INTEGER
);
