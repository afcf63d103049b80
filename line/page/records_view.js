// The latest records, filtered by station, outcome or order, and found by MAC: "which module
// is this". Read again on each event, with the filter as it stands.
import { el, replaceChildren } from './dom.js';
import { getJson } from './api.js';

const form = () => document.getElementById('record-filter');

function recordRow(record) {
  const row = el('tr', null, `record ${record.outcome}`);
  const time = new Date(record.time_start).toLocaleString();
  const module = [record.module_name, record.module_version].filter(Boolean).join(' ');
  row.append(el('td', time), el('td', record.station), el('td', record.port), el('td', module),
    el('td', record.mac_before), el('td', record.mac_written), el('td', record.outcome),
    el('td', record.reason));
  return row;
}

function queryOfForm() {
  const query = new URLSearchParams();
  for (const [name, value] of new FormData(form())) {
    if (value.trim() !== '') query.set(name, value.trim());
  }
  query.set('limit', '50');
  return query;
}

export async function showRecords() {
  const message = document.getElementById('records-message');
  const query = queryOfForm();
  try {
    const answer = await getJson(`/api/records?${query}`);
    replaceChildren(document.querySelector('#records tbody'), answer.records.map(recordRow));
    if (query.has('mac')) {
      message.textContent = answer.records.length === 0
        ? 'No record of this MAC.'
        : `${answer.records.length} attempt(s) with this MAC, the latest first.`;
    } else {
      message.textContent = answer.records.length === 0 ? 'No records match.' : '';
    }
  } catch (error) {
    message.textContent = error.message;
  }
}

export function watchRecordFilter() {
  form().addEventListener('submit', (event) => {
    event.preventDefault();
    showRecords();
  });
  form().addEventListener('reset', () => setTimeout(showRecords));
}
