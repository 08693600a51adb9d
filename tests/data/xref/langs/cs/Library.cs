// A lending library, for the ctags yardstick.
using System;
using System.Collections.Generic;

namespace Lending
{
    public enum Status { Available, OnLoan, Lost }

    public interface IItem
    {
        string Title { get; }
        int Year { get; }
        string Describe();
    }

    public struct Loan
    {
        public int MemberId;
        public DateTime Due;

        public bool IsLate(DateTime today)
        {
            return today > Due;
        }
    }

    public delegate void Notify(string message);

    public abstract class Item : IItem
    {
        private readonly string title;
        protected Status status;

        protected Item(string title, int year)
        {
            this.title = title;
            Year = year;
        }

        public string Title { get { return title; } }
        public int Year { get; private set; }
        public Status CurrentStatus => status;

        public abstract string Describe();

        public event Notify Changed;

        protected void Raise(string message)
        {
            Changed?.Invoke(message);
        }
    }

    public class Book : Item
    {
        public const int MaxPages = 5000;
        private int pages;

        public Book(string title, int year, int pages) : base(title, year)
        {
            this.pages = pages;
        }

        public int Pages
        {
            get { return pages; }
            set { pages = Math.Min(value, MaxPages); }
        }

        public override string Describe()
        {
            return Title + " (" + Year + "), " + pages + " pages";
        }
    }

    public class Disc : Item
    {
        private double minutes;

        public Disc(string title, int year, double minutes) : base(title, year)
        {
            this.minutes = minutes;
        }

        public double Minutes { get { return minutes; } }

        public override string Describe()
        {
            return Title + ", " + minutes + " minutes";
        }
    }

    public class Catalogue
    {
        private readonly List<Item> items = new List<Item>();
        private readonly Dictionary<int, Loan> loans = new Dictionary<int, Loan>();

        public int Count { get { return items.Count; } }

        public void Add(Item item)
        {
            items.Add(item);
        }

        public Item Find(string title)
        {
            foreach (Item item in items)
                if (item.Title == title) return item;
            return null;
        }

        public void Lend(int index, int member, DateTime due)
        {
            Loan loan = new Loan();
            loan.MemberId = member;
            loan.Due = due;
            loans[index] = loan;
        }

        public int LateCount(DateTime today)
        {
            int late = 0;
            foreach (Loan loan in loans.Values)
                if (loan.IsLate(today)) late++;
            return late;
        }

        public static void Main(string[] args)
        {
            Catalogue catalogue = new Catalogue();
            catalogue.Add(new Book("Dune", 1965, 412));
            catalogue.Add(new Disc("Kind of Blue", 1959, 45.7));
            Item found = catalogue.Find("Dune");
            Console.WriteLine(found.Describe());
            catalogue.Lend(0, 7, DateTime.Now);
            Console.WriteLine(catalogue.LateCount(DateTime.Now) + catalogue.Count);
        }
    }
}
