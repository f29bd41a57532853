// Prints the arrangement days that an independent holiday package knows,
// from FIRST to LAST (YYYY-MM-DD): one "date<TAB>休|班<TAB>name" line each.
// Run with NODE_PATH pointing at the node_modules the test set-up filled.
const { getDayDetail } = require('chinese-days');

const [first, last] = process.argv.slice(2);
const lines = [];
for (let day = new Date(`${first}T00:00:00Z`); day <= new Date(`${last}T00:00:00Z`);
     day.setUTCDate(day.getUTCDate() + 1)) {
  const date = day.toISOString().slice(0, 10);
  const detail = getDayDetail(date);
  // Arrangement days are named "English,中文,N"; other days by their weekday.
  const parts = detail.name.split(',');
  if (parts.length >= 2) lines.push(`${date}\t${detail.work ? '班' : '休'}\t${parts[1]}`);
}
process.stdout.write(lines.join('\n') + '\n');
