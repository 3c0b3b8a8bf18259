-- The log database shipped beside Vornhalt.exe and copied to the user's
-- application-data folder at the first start, together with the settings
-- database. Declared types decide how the access layer reads a column.

-- The activity log. date_created is "yyyy-mm-dd hh:nn:ss" text, so comparing
-- it as text orders rows by time; the clean-up and the usage statistics
-- select by it, hence the index.
CREATE TABLE applications(
  date_created TEXT,
  app_name TEXT,
  browser_url TEXT,
  app_type TEXT,
  duration INTEGER,
  origin INTEGER
);

CREATE INDEX applications_date_created ON applications(date_created);

-- A copy of the time-limit list, for the statistics and the log clean-up.
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
