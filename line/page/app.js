// The line page: reads the summary and the records, then follows the server's event stream
// and reads them again on each event. "/?tv" is the wall-screen view.
import { getJson } from './api.js';
import { setText } from './dom.js';
import { showSummary, showAlarms } from './summary_view.js';
import { showCharts } from './charts.js';
import { showRecords, watchRecordFilter } from './records_view.js';

const tv = new URLSearchParams(location.search).has('tv');
let reading = false;
let readAgain = false;

async function readAll() {
  if (reading) {
    readAgain = true;
    return;
  }
  reading = true;
  try {
    const summary = await getJson('/api/summary');
    showSummary(summary);
    showCharts(summary.series);
    if (!tv) await showRecords();
    setText('live', `live · ${new Date(summary.generated).toLocaleTimeString()}`);
  } catch (error) {
    showAlarms([{ kind: 'store', text: error.message }]);
  } finally {
    reading = false;
    if (readAgain) {
      readAgain = false;
      readAll();
    }
  }
}

function follow() {
  const events = new EventSource('/api/events');
  for (const type of ['hello', 'change', 'resync']) {
    events.addEventListener(type, readAll);
  }
  events.addEventListener('error', () => setText('live', 'reconnecting…'));
}

document.body.classList.toggle('tv', tv);
if (!tv) watchRecordFilter();
readAll();
follow();
