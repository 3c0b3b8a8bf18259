-- Per-day sums of the activity log, kept beside it in the log database and
-- never cut back with the log's 90-day clean-up, so the usage history reaches
-- further back than the log's own rows. One row per day and per logged item:
-- day is the date ("yyyy-mm-dd") of the 4:00 AM that starts the day; origin,
-- app_name and browser_url are the log rows' values that the list entries
-- match, names compared ignoring case as the usage statistics compare them.
-- The program creates this table in a log database that lacks it.
CREATE TABLE IF NOT EXISTS daily_totals(
  day TEXT NOT NULL,
  origin INTEGER,
  app_name TEXT COLLATE NOCASE,
  browser_url TEXT COLLATE NOCASE,
  seconds INTEGER NOT NULL,
  UNIQUE(day, origin, app_name, browser_url)
);

-- The history reads ranges of days whole: an index holding every column
-- answers them from its own pages, without a lookup in the table per row.
-- The program adds it to a log database whose daily totals lack it.
CREATE INDEX IF NOT EXISTS daily_totals_days ON daily_totals(day, origin, app_name, browser_url, seconds);
