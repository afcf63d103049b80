// The server's JSON resources.

export async function getJson(path) {
  const response = await fetch(path, { cache: 'no-store' });
  const body = await response.json().catch(() => ({}));
  if (!response.ok) throw new Error(body.error || `${path}: ${response.status}`);
  return body;
}
