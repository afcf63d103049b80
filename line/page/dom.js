// Small helpers for building the page. Every text goes in as textContent: whatever a module,
// an operator or the store supplied is shown, never run.

export function el(tag, text, className) {
  const element = document.createElement(tag);
  if (text !== undefined && text !== null) element.textContent = String(text);
  if (className) element.className = className;
  return element;
}

export function setText(id, text) {
  document.getElementById(id).textContent = text;
}

export function replaceChildren(parent, children) {
  parent.replaceChildren(...children);
}

export function perHour(value) {
  return value === null || value === undefined ? '–' : Math.round(value).toString();
}

export function percent(share) {
  return share === null || share === undefined ? '–' : `${(share * 100).toFixed(1)} %`;
}

export function duration(hours) {
  if (hours === null || hours === undefined) return '–';
  const minutes = Math.round(hours * 60);
  return minutes < 120 ? `${minutes} min` : `${(minutes / 60).toFixed(1)} h`;
}

export function clockTime(ms) {
  return ms ? new Date(ms).toLocaleTimeString([], { hour: '2-digit', minute: '2-digit', second: '2-digit' }) : '–';
}

export function hourLabel(ms) {
  return new Date(ms).toLocaleTimeString([], { hour: '2-digit', minute: '2-digit' });
}
