// The summary of the line: its figures, the orders, the pool, the alarms and one tile per
// station. States are shown by word as well as by colour.
import { el, setText, replaceChildren, perHour, percent, duration, clockTime } from './dom.js';

function showFigures(summary) {
  setText('rate', perHour(summary.line.per_hour));
  setText('yield', percent(summary.line.first_pass_yield));
  setText('passed', summary.line.passed);
  setText('failed', summary.line.failed);
  setText('pool-free', summary.pool.free);
  setText('pool-left', summary.pool.hours_left === null ? '' : `lasts ${duration(summary.pool.hours_left)}`);
  const store = summary.store;
  setText('store', `${store.kind} ${store.database} on ${store.host}`);
}

function showOrders(orders) {
  const rows = orders.map((order) => {
    const row = el('tr');
    row.append(el('td', order.name), el('td', order.state, `state ${order.state}`),
      el('td', order.quantity), el('td', order.verified), el('td', order.failed),
      el('td', order.remaining), el('td', duration(order.hours_left)));
    return row;
  });
  replaceChildren(document.querySelector('#orders tbody'), rows);
  document.getElementById('no-orders').hidden = orders.length > 0;
}

function fact(label, value, className = 'fact') {
  const item = el('div', null, className);
  item.append(el('dt', label), el('dd', value));
  return item;
}

function tile(station) {
  const item = el('li', null, `tile ${station.state}`);
  item.setAttribute('aria-label', `${station.station}: ${station.state}`);
  const head = el('div', null, 'tile-head');
  head.append(el('h3', station.station), el('span', station.state.toUpperCase(), 'state-word'));
  const facts = el('dl');
  facts.append(fact('per hour', perHour(station.per_hour)),
    fact('first pass', percent(station.first_pass_yield)),
    fact('passed', station.passed), fact('failed', station.failed));
  if (station.order) facts.append(fact('order', station.order, 'fact wide'));
  facts.append(fact('last module', clockTime(station.last_module), 'fact wide'));
  item.append(head, facts);
  if (station.last_failure_reason) {
    item.append(el('p', `last failure: ${station.last_failure_reason} at ${clockTime(station.last_failure)}`, 'last-failure'));
  }
  return item;
}

function showTiles(stations) {
  replaceChildren(document.getElementById('tiles'), stations.map(tile));
  document.getElementById('no-stations').hidden = stations.length > 0;
}

export function showAlarms(alarms) {
  const banner = document.getElementById('alarms');
  replaceChildren(banner, alarms.map((alarm) => el('p', alarm.text, `alarm ${alarm.kind}`)));
  banner.hidden = alarms.length === 0;
}

export function showSummary(summary) {
  showFigures(summary);
  showOrders(summary.orders);
  showTiles(summary.stations);
  showAlarms(summary.alarms);
}
