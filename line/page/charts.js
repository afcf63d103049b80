// The shift's charts, drawn by Chart.js (Debian's libjs-chart.js, served by lvcfg-line). Without
// it the page says so and shows the failure reasons as a list only.
import { el, replaceChildren, hourLabel } from './dom.js';

const charts = {};

function chartOf(id, config) {
  if (!charts[id]) {
    charts[id] = new globalThis.Chart(document.getElementById(id), config);
  }
  return charts[id];
}

function barOrLine(type, label, color, options = {}) {
  return {
    type,
    data: { labels: [], datasets: [{ label, data: [], borderColor: color, backgroundColor: color, pointRadius: 0 }] },
    options: {
      animation: false,
      maintainAspectRatio: false,
      plugins: { legend: { display: false } },
      ...options,
    },
  };
}

function update(chart, labels, values) {
  chart.data.labels = labels;
  chart.data.datasets[0].data = values;
  chart.update();
}

function showPareto(pareto) {
  const items = pareto.map((reason) => el('li', `${reason.reason || '(none)'}: ${reason.count}`));
  replaceChildren(document.getElementById('pareto'), items);
}

export function showCharts(series) {
  showPareto(series.pareto);
  if (typeof globalThis.Chart !== 'function') {
    document.getElementById('no-charts').hidden = false;
    return;
  }
  const rate = chartOf('rate-chart', barOrLine('line', 'units per hour', '#1f6feb',
    { scales: { x: { ticks: { maxTicksLimit: 9 } }, y: { beginAtZero: true } } }));
  update(rate, series.rate.map((point) => hourLabel(point.t)), series.rate.map((point) => point.per_hour));
  const yieldChart = chartOf('yield-chart', barOrLine('bar', 'first-pass yield %', '#2da44e',
    { scales: { y: { min: 0, max: 100 } } }));
  update(yieldChart, series.yield_by_hour.map((hour) => hourLabel(hour.t)),
    series.yield_by_hour.map((hour) => (hour.first_pass_yield === null ? null : hour.first_pass_yield * 100)));
  const pareto = chartOf('pareto-chart', barOrLine('bar', 'failures', '#cf222e', { indexAxis: 'y' }));
  update(pareto, series.pareto.map((reason) => reason.reason), series.pareto.map((reason) => reason.count));
}
